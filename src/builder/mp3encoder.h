#pragma once

#include <QByteArray>
#include <QString>

namespace kntr {

/// Encodes 16-bit stereo PCM at 44,100 Hz as constant-bit-rate MPEG-1 Layer III
/// frames in joint stereo, in memory.
///
/// The result is whole frames only: no VBR or Xing frame, no ID3 tag, the
/// "original" and "protected" header flags off, the last samples flushed into
/// padded frames. Every call is a stream of its own, so its first frame takes
/// nothing from the bit reservoir and the frames can stand between any others.
class Mp3Encoder {
public:
    /// The encoder's result codes, as the builder reports them.
    enum Code {
        NoError = 0,
        InvalidFormat = 1,
        InvalidFormatParameters = 2,
        NoMoreHandles = 3,
        InvalidHandle = 4,
        BufferTooSmall = 5,
    };

    struct Result {
        int code = NoError;
        QByteArray frames;

        bool ok() const { return code == NoError; }
    };

    /// Encodes pcm, interleaved little-endian left/right sample pairs, at the bit
    /// rate in kbit/s (one MPEG-1 rate from 32 to 320). No samples give no frames;
    /// a byte count that is not whole sample pairs is an invalid format. Calls
    /// may run at the same time on different threads.
    static Result encode(const QByteArray& pcm, int bitRate);

    /// "No Error", "Invalid format", "Invalid format parameters", "No more
    /// handles", "Invalid handle" or "Buffer too small".
    static QString errorText(int code);
};

} // namespace kntr
