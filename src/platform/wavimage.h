#pragma once

#include <QByteArray>

#include <optional>

namespace kntr {

/// The PCM content of a RIFF/WAVE file: its format and its sample bytes.
struct WavImage {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    QByteArray samples; ///< the data chunk, cut to whole sample frames

    /// Reads a WAV image held in memory. Only PCM with 8 or 16 bits is accepted;
    /// anything else, or a damaged header, gives nothing. A data chunk that claims
    /// more bytes than the image holds is cut to what is there.
    static std::optional<WavImage> parse(const QByteArray& image);
    /// The 44-byte header of a 16-bit PCM WAV file whose data chunk holds dataBytes.
    static QByteArray header(int channels, int sampleRate, quint32 dataBytes);

    int bytesPerFrame() const { return channels * bitsPerSample / 8; }
    qint64 frames() const { return bytesPerFrame() ? samples.size() / bytesPerFrame() : 0; }
    /// How long the samples play, in microseconds.
    qint64 durationUs() const { return sampleRate ? frames() * 1000000 / sampleRate : 0; }
};

} // namespace kntr
