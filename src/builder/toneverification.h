#pragma once

#include "tones/decodedcommand.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace kntr {

class Machine;
class Workout;

/// The control tones a workout file should hold, one per segment and the stop
/// command at the end, set against the commands read from the file.
///
/// A found command belongs to the segment in whose time it starts (from half a
/// second before the segment's boundary), so the check holds for any kind of
/// file however it places its tones within the segment; the first command found
/// there must carry the segment's values and decode cleanly.
class ToneVerification {
public:
    struct Row {
        int segment = 0; ///< from 1; 0 for the stop command at the end
        double boundary = 0.0; ///< seconds into the audio where the segment starts
        int first = 0; ///< the values as sent (machine-type adjusted, 8 bits)
        int second = 0;
        int check = 0;
        std::optional<DecodedCommand> found;

        bool matches() const;
    };

    /// The audio starts leadIn seconds before the first segment.
    static ToneVerification compare(const Workout& workout, const Machine& machine,
                                    const std::vector<DecodedCommand>& found, double leadIn = 5.0);

    const std::vector<Row>& rows() const { return mRows; }
    /// Commands found besides the first of each segment.
    const std::vector<DecodedCommand>& unexpected() const { return mUnexpected; }
    /// Every expected command was found with its values and nothing else was.
    bool passed() const;

    /// One sentence on the outcome.
    QString summary() const;
    /// One line per expected command, then one per unexpected one.
    QStringList lines() const;

private:
    QString mMachineType;
    std::vector<Row> mRows;
    std::vector<DecodedCommand> mUnexpected;
};

} // namespace kntr
