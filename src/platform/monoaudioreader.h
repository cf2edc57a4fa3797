#pragma once

#include <QString>

#include <functional>

namespace kntr {

/// Reads an audio file as one channel of 44,100 Hz samples, full scale ±1, and
/// hands them on piece by piece, so an hour of audio never sits in memory.
///
/// 16-bit PCM WAV files at 44,100 Hz (mono or stereo) are read directly; any
/// other file (MP3, other WAV formats) goes through Qt Multimedia's decoder,
/// which also converts the sample rate: only when our own check
/// (MusicEntryCheck) admits it, and then in the decoding helper (DecodeProcess),
/// never in this process. The channels are averaged. Only regular files are
/// read: a FIFO or a device is refused before anything waits on it.
class MonoAudioReader {
public:
    static constexpr int kSampleRate = 44100;

    /// Receives the next samples; returns false to stop reading.
    using Sink = std::function<bool(const float* samples, qsizetype count)>;
    /// The share read so far, 0 to 100; also told again while a decoder is quiet.
    using Progress = std::function<void(int percent)>;

    /// Decodes a file that our own reader does not take, once our check admitted it.
    using Decoder =
        std::function<bool(const QString& path, const Sink& sink, QString* error, const Progress& progress)>;

    /// Reads the whole file into sink. False with the reason in error when the
    /// file cannot be read or decoded; true also when the sink stopped early.
    /// decoder (by default the decoding helper) decodes what our reader does not take.
    static bool read(const QString& path, const Sink& sink, QString* error = nullptr,
                     const Progress& progress = {}, const Decoder& decoder = {});

    /// Decodes path through Qt Multimedia's decoder in this process, unchecked
    /// and without limits: for the decoding helper alone. Needs an application object.
    /// With channels 2 the samples are left/right pairs, as the decoder's
    /// resampler (libswresample) mixes the file's channels to stereo.
    static bool decodeHere(const QString& path, const Sink& sink, QString* error = nullptr,
                           const Progress& progress = {}, int channels = 1);
};

} // namespace kntr
