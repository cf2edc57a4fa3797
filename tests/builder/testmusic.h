#pragma once

// Music files made on the spot for the builder's tests.

#include <QByteArray>
#include <QList>
#include <QFile>
#include <QString>
#include <QtEndian>

namespace kntr::test {

/// A canonical 44-byte PCM header followed by sampleBytes of data.
inline QByteArray wavHeader(qint64 sampleBytes, int channels = 2, int rate = 44100, int bits = 16,
                            int blockAlign = 4, int byteRate = 176400, int format = 1)
{
    QByteArray h(44, '\0');
    uchar* b = reinterpret_cast<uchar*>(h.data());
    memcpy(b, "RIFF", 4);
    qToLittleEndian<quint32>(static_cast<quint32>(36 + sampleBytes), b + 4);
    memcpy(b + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, b + 16);
    qToLittleEndian<quint16>(static_cast<quint16>(format), b + 20);
    qToLittleEndian<quint16>(static_cast<quint16>(channels), b + 22);
    qToLittleEndian<quint32>(static_cast<quint32>(rate), b + 24);
    qToLittleEndian<quint32>(static_cast<quint32>(byteRate), b + 28);
    qToLittleEndian<quint16>(static_cast<quint16>(blockAlign), b + 32);
    qToLittleEndian<quint16>(static_cast<quint16>(bits), b + 34);
    memcpy(b + 36, "data", 4);
    qToLittleEndian<quint32>(static_cast<quint32>(sampleBytes), b + 40);
    return h;
}

/// 16-bit 44.1 kHz stereo samples whose every byte depends on its place and the
/// seed, so a second laid in the wrong place shows; never a run of zeros.
inline QByteArray musicSamples(qint64 bytes, int seed)
{
    QByteArray s(bytes, Qt::Uninitialized);
    for (qint64 i = 0; i < bytes; ++i)
        s[i] = static_cast<char>(1 + (i * 7 + i / 176400 * 13 + seed * 31) % 251);
    return s;
}

/// MPEG-1 Layer III frames at 44.1 kHz (third header byte 0xP0: 0x50 64 kbit/s …
/// 0xB0 192 kbit/s), every third one padded, whose bodies name the file (seed)
/// and the frame's place, so a frame out of place shows.
inline QByteArray mp3Frames(int count, int seed, uchar third = 0x90)
{
    static const int sizes[] = {208, 261, 313, 365, 417, 522, 626};
    const int size = sizes[(third >> 4) - 5];
    QByteArray out;
    for (int i = 0; i < count; ++i) {
        const bool padded = i % 3 == 2;
        QByteArray f(size + (padded ? 1 : 0), Qt::Uninitialized);
        for (qsizetype j = 0; j < f.size(); ++j)
            f[j] = static_cast<char>(1 + (j * 7 + i * 13 + seed * 31) % 251);
        f[0] = '\xFF';
        f[1] = '\xFB';
        f[2] = static_cast<char>(third | (padded ? 2 : 0));
        f[3] = '\x44';
        f[4] = static_cast<char>(seed);
        qToBigEndian<quint32>(static_cast<quint32>(i), f.data() + 5);
        out += f;
    }
    return out;
}

/// The whole MPEG-1 Layer III frames at the start of bytes, sized by their own
/// headers; the walk stops at the first bytes that are not a whole frame (rest
/// tells how many bytes were left).
inline QList<QByteArray> splitFrames(const QByteArray& bytes, qsizetype* rest = nullptr)
{
    static const int rates[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
    QList<QByteArray> frames;
    qsizetype at = 0;
    while (at + 4 <= bytes.size()) {
        const auto b1 = static_cast<uchar>(bytes[at + 1]), b2 = static_cast<uchar>(bytes[at + 2]);
        if (static_cast<uchar>(bytes[at]) != 0xFF || (b1 & 0xFE) != 0xFA || (b2 & 0x0C) != 0
            || !rates[b2 >> 4])
            break;
        const qsizetype size = 144000 * rates[b2 >> 4] / 44100 + ((b2 >> 1) & 1);
        if (at + size > bytes.size())
            break;
        frames << bytes.mid(at, size);
        at += size;
    }
    if (rest)
        *rest = bytes.size() - at;
    return frames;
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readWhole(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace kntr::test
