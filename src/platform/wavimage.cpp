#include "wavimage.h"

#include <QtEndian>

#include <cstring>

namespace kntr {

namespace {

quint32 u32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 u16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

constexpr quint16 kFormatPcm = 1;
constexpr quint16 kFormatExtensible = 0xFFFE;

} // namespace

std::optional<WavImage> WavImage::parse(const QByteArray& image)
{
    if (image.size() < 12 || !image.startsWith("RIFF") || image.mid(8, 4) != "WAVE")
        return std::nullopt;

    WavImage wav;
    bool haveFormat = false;
    qsizetype at = 12;
    while (at + 8 <= image.size()) {
        const QByteArray id = image.mid(at, 4);
        const qsizetype size = u32(image, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > image.size())
                return std::nullopt;
            quint16 tag = u16(image, body);
            if (tag == kFormatExtensible && size >= 26 && body + 26 <= image.size())
                tag = u16(image, body + 24); // the sub-format GUID starts with the tag
            wav.channels = u16(image, body + 2);
            wav.sampleRate = static_cast<int>(u32(image, body + 4));
            wav.bitsPerSample = u16(image, body + 14);
            if (tag != kFormatPcm || wav.channels < 1 || wav.channels > 8 || wav.sampleRate < 1000
                || wav.sampleRate > 384000 || (wav.bitsPerSample != 8 && wav.bitsPerSample != 16))
                return std::nullopt;
            haveFormat = true;
        } else if (id == "data") {
            if (!haveFormat)
                return std::nullopt;
            const qsizetype available = std::min(size, image.size() - body);
            wav.samples = image.mid(body, available - available % wav.bytesPerFrame());
            return wav;
        }
        at = body + size + (size & 1); // chunks are padded to even sizes
    }
    return std::nullopt;
}

QByteArray WavImage::header(int channels, int sampleRate, quint32 dataBytes)
{
    QByteArray h(44, '\0');
    uchar* b = reinterpret_cast<uchar*>(h.data());
    std::memcpy(b, "RIFF", 4);
    qToLittleEndian<quint32>(dataBytes + 36, b + 4);
    std::memcpy(b + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, b + 16);
    qToLittleEndian<quint16>(1, b + 20); // PCM
    qToLittleEndian<quint16>(static_cast<quint16>(channels), b + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate), b + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleRate * 2 * channels), b + 28);
    qToLittleEndian<quint16>(static_cast<quint16>(2 * channels), b + 32);
    qToLittleEndian<quint16>(16, b + 34);
    std::memcpy(b + 36, "data", 4);
    qToLittleEndian<quint32>(dataBytes, b + 40);
    return h;
}

} // namespace kntr
