#pragma once

#include "musiccheckresult.h"

#include <QString>

namespace kntr {

/// Admits a WAV music file only when it is uncompressed 16-bit stereo at
/// 44,100 Hz, which the builder can lay under a workout byte for byte.
///
/// The check looks at the first 10,000 bytes for the "RIFF", "WAVE", "fmt " and
/// "data" tags (a later "fmt " or "data" replacing an earlier one), reads the
/// format fields after "fmt " and collects one line per incompatibility. An
/// admitted file's music is its data chunk, measured by the chunk's size. The
/// file is only read.
class WavMusicCheck {
public:
    static constexpr int kBytesExamined = 10000;

    static MusicCheckResult check(const QString& path);

    /// The rejection message around the collected lines (each ends with "\r").
    static QString rejectionMessage(const QString& lines);
};

} // namespace kntr
