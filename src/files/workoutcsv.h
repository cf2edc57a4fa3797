#pragma once

#include "workouttext.h"

#include "model/units.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// The names a workout table gives its columns, in lower case: "time", then the
/// machine's attribute one ("speed", or "resistance" on an "Elliptical") and
/// attribute two ("incline", or "resistance" on a "Bike" or "Elliptical Type A").
QStringList workoutTableColumns(const Machine& machine);

/// A workout read from a table (CSV): one row per segment, as the table gives it.
struct WorkoutTable {
    /// Attribute one, attribute two and seconds of every row; attribute one in
    /// km/h when kilometres is set, else as segments hold it.
    std::vector<SegmentValues> rows;
    bool kilometres = false;

    /// What a workout file holding these segments holds: segments only, speeds
    /// in mph, so that opening it fits them to the machine in force.
    WorkoutFileContents contents() const;
    /// The rows that fitting changed, one line each in the table's own units:
    /// "segment 2: speed 11 -> 10". fitted is the workout opened from contents().
    QStringList changes(const Workout& fitted) const;
};

/// What reading a table gave: the workout, or what is wrong with it.
struct WorkoutTableResult {
    std::optional<WorkoutTable> table;
    /// Why the table is refused, naming its line and column:
    /// "line 3, column speed: 'fast' is not a number".
    QString problem;
};

/// Reads a table with a header row naming its columns in any order, without
/// regard to case: "time" (seconds, m:ss or h:mm:ss), "speed" or the machine's
/// first attribute, "incline" or its second; other columns are ignored. The
/// separator (comma, semicolon or tab) is the header's; numbers take a decimal
/// comma when the separator is not a comma. Speeds are read in units. Refused:
/// bytes that are not text, a table without header, a column of another
/// machine, a column missing, no row or more than 60, a time outside 10 to 3600
/// seconds, a value that is no number.
WorkoutTableResult parseWorkoutTable(const QByteArray& bytes, const Machine& machine, Units units);

/// Reads the table file at path as parseWorkoutTable does; only a regular file
/// of at most 1 MB is read. The problem names the file.
WorkoutTableResult readWorkoutTableFile(const QString& path, const Machine& machine, Units units);

/// Writes a workout as a table that parseWorkoutTable reads back to the same
/// segments: the header "time,speed,incline" with machine's own attribute
/// names, then one row per segment: m:ss, attribute one (in km/h to one decimal
/// when units and machine show speeds so), attribute two; decimal points,
/// CR LF line ends.
QByteArray buildWorkoutTable(const Workout& workout, const Machine& machine, Units units);

} // namespace kntr
