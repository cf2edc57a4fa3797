#pragma once

#include <QByteArray>

namespace kntr {

/// One write into a workout WAV file: silence, prepared bytes (header, tone,
/// clip) or a stretch of a music file, at a byte offset. Later pieces cover
/// earlier ones where they overlap.
struct WavePiece {
    enum class Kind { Zeros, Bytes, Music };

    Kind kind = Kind::Zeros;
    qint64 start = 0; ///< byte offset in the file
    qint64 length = 0;

    QByteArray bytes; ///< Bytes: the content, from bytesOffset on
    qint64 bytesOffset = 0;

    int entry = -1; ///< Music: index of the music entry
    qint64 source = 0; ///< Music: 0-based offset in the entry's file of the first byte
    int segment = 0; ///< Music: the segment it plays under, from 1
    double firstSecond = 0; ///< Music: the workout second its first second ends

    qint64 end() const { return start + length; }
};

} // namespace kntr
