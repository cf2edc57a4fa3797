#pragma once

#include <QString>

#include <optional>

namespace kntr {

/// A play-list entry left out of the music, and why.
struct SkippedEntry {
    QString path;
    QString reason;
};

/// The checks a play-list entry passes before any decoder sees it: a regular,
/// readable file (never a FIFO, a device or a folder, and never opened when it
/// is not a regular file) no larger than kMaxBytes, and for WAV files a header
/// that describes sound a player can take (1–8 channels, 8,000–192,000 Hz, PCM
/// of 8, 16, 24 or 32 bits, or 32/64-bit float).
class MusicEntryCheck {
public:
    static constexpr qint64 kMaxBytes = qint64(1) << 30;

    /// Why the entry at path cannot be played; nothing when it may be tried.
    static std::optional<QString> problem(const QString& path);
    /// The first of those checks, looked at without opening anything: why path
    /// is no regular file ("the file does not exist", "it is a folder, not a
    /// file", "it is not a regular file"); nothing for a regular file.
    static std::optional<QString> fileProblem(const QString& path);
};

} // namespace kntr
