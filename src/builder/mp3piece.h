#pragma once

#include <QByteArray>
#include <QString>

namespace kntr {

/// One stretch of a workout MP3 file, in whole frames: silent frames, encoded
/// frames (a tone or a spoken clip), or a segment's music.
struct Mp3Piece {
    enum class Kind { Silence, Encoded, Music };

    Kind kind = Kind::Silence;
    /// Silence and Encoded: the frames it holds. Music: the frames to fill, with
    /// music as long as there is any, then with silence.
    qint64 frames = 0;
    /// Encoded: the frames' bytes.
    QByteArray bytes;
    /// Music: music frames dropped before the first one used, because the music
    /// runs on under the sounds inserted at the segment's start.
    qint64 skip = 0;
    /// The segment it belongs to, from 1; 0 for the lead-in and the end.
    int segment = 0;
    /// Music: the workout frames of segments 1 … segment, for the status line.
    qint64 segmentsEnd = 0;
    /// The status line while it is written; empty leaves the previous one.
    QString status;
};

} // namespace kntr
