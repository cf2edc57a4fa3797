#pragma once

// Music files made on the spot for the builder's tests.

#include <QByteArray>
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
