#pragma once

#include "model/machinefit.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace kntr {

class SettingsStore;
class Workout;

/// The first line of a workout file written now: the magic, version 1.2, padded to 26 characters.
extern const char* const kWorkoutMagicLine;

/// Numbers in a workout file lie below this in magnitude, as the writer writes
/// them: it gives at most 15 significant digits without exponent, so larger
/// numbers would not come back as they were read, and near the largest double
/// not at all.
inline constexpr double kLargestFileNumber = 1e15;

/// One segment line: attribute one, attribute two, duration in seconds (10 to 3600).
struct SegmentValues {
    double speed = 0;
    double incline = 0;
    double seconds = 0;
    /// The duration as the file gives it, in seconds, before it is held to 10 … 3600.
    double fileSeconds = 0;
};

/// The machine block of a version 1.2 file, with the fallbacks for empty lines
/// applied; its ranges are the file's tenths ÷ 10.
using MachineBlock = MachineChoice;

/// Everything a workout file holds. Versions 1.0 and 1.1 carry segments only.
struct WorkoutFileContents {
    int version = 2; ///< the digit after "Vexa v 1.": 0, 1 or 2
    /// The segments; absent for a version 1.2 file without a segment block.
    std::optional<std::vector<SegmentValues>> segments;
    std::optional<MachineBlock> machine;
    QString playList; ///< empty: the file names no play list
};

/// What reading a workout file's text gave.
struct WorkoutTextResult {
    enum class Status { Ok, NotRecognised, Newer, Malformed };
    Status status = Status::Ok;
    /// For Malformed: what is wrong, naming the line; for Newer: the file's version.
    QString problem;
    WorkoutFileContents contents;
};

/// Builds the whole version 1.2 text of a workout: the machine block and the
/// play list as the settings hold them, one line per segment, CR LF line ends,
/// numbers in plain notation with ".".
QByteArray buildWorkoutText(const Workout& workout, const SettingsStore& settings);

/// Reads the text of a version 1.0, 1.1 or 1.2 workout file; LF line ends read
/// as CR LF. Numbers may use ","
/// for ".". A text without the magic, or whose version is no digit, is
/// NotRecognised; versions 1.3 to 1.9 are Newer; a text that breaks the layout,
/// holds a number that is written as kLargestFileNumber or more, or holds no
/// segment or more than 60, is Malformed.
WorkoutTextResult parseWorkoutText(const QByteArray& text);

} // namespace kntr
