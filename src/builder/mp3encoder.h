#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

struct lame_global_struct;

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

/// One stream of frames as Mp3Encoder::encode makes them, fed a piece at a time.
/// Without the reservoir every frame holds its own main data, so any frame of
/// the stream can follow a frame from elsewhere.
class Mp3StreamEncoder {
public:
    Mp3StreamEncoder(int bitRate, bool reservoir = true);
    ~Mp3StreamEncoder();
    Mp3StreamEncoder(const Mp3StreamEncoder&) = delete;
    Mp3StreamEncoder& operator=(const Mp3StreamEncoder&) = delete;

    /// Mp3Encoder::NoError, or why the encoder could not be set up or went wrong.
    int code() const { return mCode; }
    /// Encodes count interleaved left/right pairs and appends the frames to out.
    bool encode(const short* pairs, int count, QByteArray& out);
    /// Flushes the last samples into padded frames appended to out.
    bool flush(QByteArray& out);

private:
    struct Close {
        void operator()(lame_global_struct* flags) const;
    };
    std::unique_ptr<lame_global_struct, Close> mLame;
    QByteArray mBuffer;
    int mCode = Mp3Encoder::NoError;
};

} // namespace kntr
