#include "mp3encoder.h"

#include <QtEndian>

#include <lame/lame.h>

#include <algorithm>
#include <cstdarg>
#include <memory>
#include <vector>

namespace kntr {

namespace {

constexpr int kSampleRate = 44100;
constexpr int kChunkFrames = 16 * 1152; // sample pairs fed to the encoder at a time
constexpr int kMpeg1BitRates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};

// The library reports to stdout/stderr unless told otherwise; a build has no console.
void quiet(const char*, va_list)
{
}

// The result code for a negative return of lame_encode_buffer* / lame_encode_flush.
int encodeFailure(int lameResult)
{
    switch (lameResult) {
    case -1:
        return Mp3Encoder::BufferTooSmall;
    case -2:
        return Mp3Encoder::NoMoreHandles; // out of memory
    case -3:
        return Mp3Encoder::InvalidHandle; // parameters never set up
    default:
        return Mp3Encoder::InvalidFormat;
    }
}

bool isMpeg1BitRate(int bitRate)
{
    return std::find(std::begin(kMpeg1BitRates), std::end(kMpeg1BitRates), bitRate)
        != std::end(kMpeg1BitRates);
}

} // namespace

void Mp3StreamEncoder::Close::operator()(lame_global_struct* flags) const
{
    lame_close(flags);
}

Mp3StreamEncoder::Mp3StreamEncoder(int bitRate, bool reservoir)
{
    if (!isMpeg1BitRate(bitRate)) {
        mCode = Mp3Encoder::InvalidFormatParameters;
        return;
    }
    // The library fills a few shared tables on its first use: once, before encoders run side by side.
    static const bool tablesReady = [] {
        lame_close(lame_init());
        return true;
    }();
    (void)tablesReady;
    mLame.reset(lame_init());
    lame_global_flags* gf = mLame.get();
    if (!gf) {
        mCode = Mp3Encoder::NoMoreHandles;
        return;
    }
    lame_set_errorf(gf, quiet);
    lame_set_debugf(gf, quiet);
    lame_set_msgf(gf, quiet);
    lame_set_write_id3tag_automatic(gf, 0);
    bool set = lame_set_in_samplerate(gf, kSampleRate) == 0;
    // Without an explicit output rate LAME resamples low bit rates (32 kHz, or MPEG-2 at 24 kHz).
    set = set && lame_set_out_samplerate(gf, kSampleRate) == 0;
    set = set && lame_set_num_channels(gf, 2) == 0;
    set = set && lame_set_mode(gf, JOINT_STEREO) == 0;
    set = set && lame_set_VBR(gf, vbr_off) == 0;
    set = set && lame_set_brate(gf, bitRate) == 0;
    set = set && lame_set_bWriteVbrTag(gf, 0) == 0;
    set = set && lame_set_original(gf, 0) == 0;
    set = set && lame_set_error_protection(gf, 0) == 0;
    set = set && lame_set_copyright(gf, 0) == 0;
    set = set && lame_set_emphasis(gf, 0) == 0;
    if (!reservoir)
        set = set && lame_set_disable_reservoir(gf, 1) == 0;
    if (!set || lame_init_params(gf) < 0)
        mCode = Mp3Encoder::InvalidFormatParameters;
}

Mp3StreamEncoder::~Mp3StreamEncoder() = default;

bool Mp3StreamEncoder::encode(const short* pairs, int count, QByteArray& out)
{
    if (mCode != Mp3Encoder::NoError)
        return false;
    // The worst case the library documents: 1.25 × samples + 7,200 bytes.
    mBuffer.resize(count + count / 4 + 7200);
    const int written = lame_encode_buffer_interleaved(mLame.get(), const_cast<short*>(pairs), count,
                                                       reinterpret_cast<unsigned char*>(mBuffer.data()),
                                                       static_cast<int>(mBuffer.size()));
    if (written < 0) {
        mCode = encodeFailure(written);
        return false;
    }
    out.append(mBuffer.constData(), written);
    return true;
}

bool Mp3StreamEncoder::flush(QByteArray& out)
{
    if (mCode != Mp3Encoder::NoError)
        return false;
    mBuffer.resize(7200);
    const int flushed = lame_encode_flush(mLame.get(), reinterpret_cast<unsigned char*>(mBuffer.data()),
                                          static_cast<int>(mBuffer.size()));
    if (flushed < 0) {
        mCode = encodeFailure(flushed);
        return false;
    }
    out.append(mBuffer.constData(), flushed);
    return true;
}

Mp3Encoder::Result Mp3Encoder::encode(const QByteArray& pcm, int bitRate)
{
    Result result;
    if (!isMpeg1BitRate(bitRate)) {
        result.code = InvalidFormatParameters;
        return result;
    }
    if (pcm.size() % 4 != 0) {
        result.code = InvalidFormat;
        return result;
    }
    if (pcm.isEmpty())
        return result;

    Mp3StreamEncoder encoder(bitRate);
    const qsizetype pairs = pcm.size() / 4;
    std::vector<short> chunk(static_cast<size_t>(2 * std::min<qsizetype>(pairs, kChunkFrames)));
    result.frames.reserve(static_cast<qsizetype>(pairs * bitRate * 1000 / 8 / kSampleRate + 4 * 1152));
    const char* in = pcm.constData();
    for (qsizetype done = 0; done < pairs && encoder.code() == NoError;) {
        const int n = static_cast<int>(std::min<qsizetype>(kChunkFrames, pairs - done));
        for (int i = 0; i < 2 * n; ++i)
            chunk[static_cast<size_t>(i)] = qFromLittleEndian<qint16>(in + 2 * (2 * done + i));
        encoder.encode(chunk.data(), n, result.frames);
        done += n;
    }
    if (encoder.code() != NoError || !encoder.flush(result.frames)) {
        result.code = encoder.code();
        result.frames.clear();
    }
    return result;
}

QString Mp3Encoder::errorText(int code)
{
    switch (code) {
    case NoError:
        return QStringLiteral("No Error");
    case InvalidFormat:
        return QStringLiteral("Invalid format");
    case InvalidFormatParameters:
        return QStringLiteral("Invalid format parameters");
    case NoMoreHandles:
        return QStringLiteral("No more handles");
    case InvalidHandle:
        return QStringLiteral("Invalid handle");
    case BufferTooSmall:
        return QStringLiteral("Buffer too small");
    default:
        return QStringLiteral("Error ") + QString::number(code);
    }
}

} // namespace kntr
