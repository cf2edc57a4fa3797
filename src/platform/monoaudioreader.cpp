#include "monoaudioreader.h"

#include "decodeprocess.h"
#include "musicentrycheck.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace kntr {

namespace {

constexpr qint64 kBlockFrames = 1 << 16;
/// The decoder says nothing at all about some files it cannot read: after this
/// long without a sample the file counts as undecodable.
constexpr int kDecoderSilenceMs = 5000;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// How long an MPEG-1 Layer III file plays, from its size and its first frame's
// bit rate, for files the decoder gives no length of (a constant-bit-rate file
// without an information frame); 0 for any other file.
qint64 mp3EstimatedMs(const QString& path)
{
    static constexpr int kBitRates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray head = file.read(10);
    qint64 start = 0;
    if (head.size() == 10 && head.startsWith("ID3")) {
        qint64 tag = 0;
        for (int i = 6; i < 10; ++i)
            tag = tag * 128 + (static_cast<unsigned char>(head[i]) & 0x7f);
        start = 10 + tag;
    }
    if (!file.seek(start))
        return 0;
    const QByteArray window = file.read(64 * 1024);
    const auto* bytes = reinterpret_cast<const unsigned char*>(window.constData());
    for (qsizetype i = 0; i + 4 <= window.size(); ++i) {
        // Frame sync, MPEG-1, Layer III.
        if (bytes[i] != 0xff || (bytes[i + 1] & 0xfe) != 0xfa)
            continue;
        const int kbps = kBitRates[std::min(bytes[i + 2] >> 4, 14)];
        if (kbps == 0)
            continue;
        return (file.size() - start - i) * 8 / kbps;
    }
    return 0;
}

struct PcmLayout {
    int channels = 0;
    qint64 dataStart = 0;
    qint64 dataBytes = 0;
};

// The sample data of a 16-bit 44.1 kHz PCM WAV file, found by walking its chunks;
// nothing for any other file.
std::optional<PcmLayout> pcmLayout(QFile& file)
{
    char riff[12];
    if (file.read(riff, 12) != 12 || std::memcmp(riff, "RIFF", 4) != 0
        || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return std::nullopt;
    PcmLayout layout;
    bool format = false;
    char chunk[8];
    while (file.read(chunk, 8) == 8) {
        const qint64 size = qFromLittleEndian<quint32>(chunk + 4);
        const qint64 body = file.pos();
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            char fmt[16];
            if (size < 16 || file.read(fmt, 16) != 16)
                return std::nullopt;
            const auto tag = qFromLittleEndian<quint16>(fmt);
            const auto channels = qFromLittleEndian<quint16>(fmt + 2);
            const auto rate = qFromLittleEndian<quint32>(fmt + 4);
            const auto bits = qFromLittleEndian<quint16>(fmt + 14);
            if (tag != 1 || bits != 16 || rate != MonoAudioReader::kSampleRate
                || (channels != 1 && channels != 2))
                return std::nullopt;
            layout.channels = channels;
            format = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!format)
                return std::nullopt;
            layout.dataStart = body;
            // A size that runs past the end (a file cut short, or written as a
            // stream) means: up to the end.
            layout.dataBytes = std::min(size, file.size() - body);
            return layout;
        }
        if (!file.seek(body + size + (size & 1)))
            return std::nullopt;
    }
    return std::nullopt;
}

bool readPcm(QFile& file, const PcmLayout& layout, const MonoAudioReader::Sink& sink, QString* error,
             const MonoAudioReader::Progress& progress)
{
    if (!file.seek(layout.dataStart)) {
        setError(error, file.errorString());
        return false;
    }
    const int frameBytes = 2 * layout.channels;
    const qint64 frames = layout.dataBytes / frameBytes;
    std::vector<char> block(static_cast<size_t>(kBlockFrames * frameBytes));
    std::vector<float> samples;
    for (qint64 done = 0; done < frames;) {
        const qint64 count = std::min(kBlockFrames, frames - done);
        if (file.read(block.data(), count * frameBytes) != count * frameBytes) {
            setError(error,
                     file.error() != QFileDevice::NoError ? file.errorString()
                                                          : QStringLiteral("the file ended early"));
            return false;
        }
        samples.resize(static_cast<size_t>(count));
        const char* p = block.data();
        for (qint64 i = 0; i < count; ++i) {
            int sum = 0;
            for (int c = 0; c < layout.channels; ++c)
                sum += qFromLittleEndian<qint16>(p + (i * layout.channels + c) * 2);
            samples[static_cast<size_t>(i)] =
                static_cast<float>(sum) / (32768.0f * static_cast<float>(layout.channels));
        }
        done += count;
        if (!sink(samples.data(), count))
            return true;
        if (progress)
            progress(static_cast<int>(done * 100 / frames));
    }
    return true;
}

// One sample of a decoded buffer, full scale ±1; nothing for a format we do not know.
std::optional<float> sampleAt(const QAudioBuffer& buffer, qsizetype k)
{
    switch (buffer.format().sampleFormat()) {
    case QAudioFormat::Float:
        return buffer.constData<float>()[k];
    case QAudioFormat::Int16:
        return static_cast<float>(buffer.constData<qint16>()[k]) / 32768.0f;
    case QAudioFormat::Int32:
        return static_cast<float>(static_cast<double>(buffer.constData<qint32>()[k]) / 2147483648.0);
    case QAudioFormat::UInt8:
        return (static_cast<float>(buffer.constData<quint8>()[k]) - 128.0f) / 128.0f;
    default:
        return std::nullopt;
    }
}

// Appends one decoded buffer to samples as floats: the channels averaged for
// one channel out; for two, the buffer's pairs (a mono buffer on both sides).
bool appendSamples(const QAudioBuffer& buffer, int outChannels, std::vector<float>& samples)
{
    const QAudioFormat format = buffer.format();
    const int channels = format.channelCount();
    if (format.sampleRate() != MonoAudioReader::kSampleRate || channels < 1
        || (outChannels == 2 && channels > 2))
        return false;
    const qsizetype frames = buffer.frameCount();
    samples.resize(static_cast<size_t>(frames * outChannels));
    for (qsizetype i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            const std::optional<float> sample = sampleAt(buffer, i * channels + c);
            if (!sample)
                return false;
            if (outChannels == 2)
                samples[static_cast<size_t>(2 * i + c)] = *sample;
            sum += *sample;
        }
        if (outChannels == 1)
            samples[static_cast<size_t>(i)] = sum / static_cast<float>(channels);
        else if (channels == 1)
            samples[static_cast<size_t>(2 * i + 1)] = samples[static_cast<size_t>(2 * i)];
    }
    return true;
}

bool readDecoded(const QString& path, const MonoAudioReader::Sink& sink, QString* error,
                 const MonoAudioReader::Progress& progress, int channels)
{
    if (!QCoreApplication::instance()) {
        setError(error, QStringLiteral("no application object to decode with"));
        return false;
    }
    QAudioDecoder decoder;
    QAudioFormat format;
    format.setSampleRate(MonoAudioReader::kSampleRate);
    format.setChannelCount(channels);
    format.setSampleFormat(QAudioFormat::Float);
    decoder.setAudioFormat(format);
    decoder.setSource(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));

    QEventLoop loop;
    QTimer quiet;
    quiet.setSingleShot(true);
    quiet.setInterval(kDecoderSilenceMs);
    bool failed = false;
    bool stopped = false;
    bool done = false;
    std::vector<float> samples;
    qint64 length = -1; // ms: the decoder's, or estimated once from the file
    QObject::connect(&decoder, &QAudioDecoder::bufferReady, &loop, [&] {
        quiet.start();
        while (decoder.bufferAvailable() && !failed && !stopped) {
            const QAudioBuffer buffer = decoder.read();
            if (!buffer.isValid())
                continue;
            if (!appendSamples(buffer, channels, samples)) {
                failed = true;
                setError(error, QStringLiteral("the decoder gave audio in a form that cannot be read"));
            } else if (!sink(samples.data(), static_cast<qsizetype>(samples.size()))) {
                stopped = true;
            } else if (progress) {
                if (decoder.duration() > 0)
                    length = decoder.duration();
                else if (length < 0)
                    length = mp3EstimatedMs(path);
                if (length > 0)
                    progress(static_cast<int>(std::clamp<qint64>(decoder.position() * 100 / length, 0, 100)));
            }
        }
        if (failed || stopped) {
            decoder.stop();
            done = true;
            loop.quit();
        }
    });
    QObject::connect(&quiet, &QTimer::timeout, &loop, [&] {
        failed = true;
        setError(error, QStringLiteral("no audio could be decoded from the file"));
        decoder.stop();
        done = true;
        loop.quit();
    });
    QObject::connect(&decoder, &QAudioDecoder::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QObject::connect(
        &decoder, qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), &loop, [&](QAudioDecoder::Error) {
            if (!failed && !stopped) {
                failed = true;
                setError(error,
                         decoder.errorString().isEmpty() ? QStringLiteral("cannot decode the file")
                                                         : decoder.errorString());
            }
            done = true;
            loop.quit();
        });
    if (!decoder.isSupported()) {
        setError(error, QStringLiteral("no audio decoder is available"));
        return false;
    }
    decoder.start();
    if (decoder.error() != QAudioDecoder::NoError) {
        setError(error, decoder.errorString());
        return false;
    }
    if (!done) {
        quiet.start();
        loop.exec();
    }
    return !failed;
}

} // namespace

bool MonoAudioReader::read(const QString& path, const Sink& sink, QString* error, const Progress& progress,
                           const Decoder& decoder)
{
    // Opened without waiting and looked at once open: a FIFO or a device is
    // refused before anything waits on it or reads it.
    if (const std::optional<QString> problem = MusicEntryCheck::fileProblem(path)) {
        setError(error, *problem);
        return false;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st = {};
    QFile file;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0 && !file.isOpen())
            ::close(fd);
        setError(error,
                 fd < 0 ? QStringLiteral("the file cannot be read")
                        : QStringLiteral("it is not a regular file"));
        return false;
    }
    if (const std::optional<PcmLayout> layout = pcmLayout(file))
        return readPcm(file, *layout, sink, error, progress);
    file.close();
    // Anything else goes to the media backend's decoder, which takes only what
    // our own check lets through, and then only in a process of its own.
    if (const std::optional<QString> problem = MusicEntryCheck::problem(path)) {
        setError(error, *problem);
        return false;
    }
    if (decoder)
        return decoder(path, sink, error, progress);
    return DecodeProcess().read(path, sink, error, progress);
}

bool MonoAudioReader::decodeHere(const QString& path, const Sink& sink, QString* error,
                                 const Progress& progress, int channels)
{
    if (channels != 1 && channels != 2) {
        setError(error, QStringLiteral("only one or two channels can be decoded"));
        return false;
    }
    return readDecoded(path, sink, error, progress, channels);
}

} // namespace kntr
