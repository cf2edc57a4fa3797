#pragma once

#include <QString>

namespace kntr {

/// How a workout file build ended, WAV or MP3.
struct WaveBuildResult {
    enum class Outcome {
        Written, ///< the file is in place
        Cancelled, ///< stopped on request; an earlier file of that name is untouched
        Refused, ///< not started: a music file of the wrong kind, no room, too long
        Failed, ///< the file could not be written; an earlier file of that name is untouched
    };

    Outcome outcome = Outcome::Failed;
    /// The message box to show: the closing message of a written file (empty
    /// when none is shown), or why the build was refused or failed.
    QString message;
    /// The status line after the build.
    QString status;
    /// Music ran out before the workout's end.
    bool musicRanOut = false;
    /// Bytes written.
    qint64 bytes = 0;
};

} // namespace kntr
