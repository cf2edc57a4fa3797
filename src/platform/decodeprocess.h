#pragma once

#include "monoaudioreader.h"

#include <QByteArray>
#include <QString>

namespace kntr {

/// Decodes an outside audio file in the decoding helper, kinetrova-decode: a
/// process of its own that runs the media backend's decoder under a memory
/// limit (kMemoryBytes of address space) and a CPU limit (cpuSeconds), so that
/// a decoder that crashes, hangs or blows up on a hostile file costs that
/// process and never Kinetrova. Its warnings and the backend's log lines go
/// nowhere.
///
/// The helper is started as `kinetrova-decode --cpu-seconds N [--channels 2] FILE`.
/// It checks the file once more (MusicEntryCheck), and writes records to its
/// stdout: one byte of kind, the length of the rest as 4 bytes little-endian, the rest.
///   'a'  audio: samples at 44,100 Hz as 32-bit floats of this machine, mono, or
///        with --channels 2 left/right pairs (never split across records)
///   'p'  progress: one byte, the share decoded, 0 to 100
///   'e'  error: why the file cannot be read (UTF-8); the helper then exits with 1
///   'd'  done: nothing follows; the helper exits with 0
/// The helper exits with kOutOfTime or kOutOfMemory when one of its limits stops it.
class DecodeProcess {
public:
    static constexpr qint64 kMemoryBytes = qint64(512) << 20;
    /// CPU seconds for any file, and per minute of audio that the file could hold.
    static constexpr int kCpuSecondsBase = 10;
    static constexpr int kCpuSecondsPerMinute = 3;
    /// The fewest bytes a minute of audio takes (32 kbit/s), for a file whose
    /// playing time is not known before it is decoded.
    static constexpr qint64 kLeastBytesPerMinute = 4000 * 60;
    /// A helper that says nothing for this long is taken to hang.
    static constexpr int kSilenceMs = 15000;
    /// Exit statuses of the helper.
    static constexpr int kOutOfTime = 3;
    static constexpr int kOutOfMemory = 4;
    /// Records longer than this are no records of the helper's.
    static constexpr qint64 kMaxRecordBytes = qint64(16) << 20;

    /// program is the helper (empty: kinetrova-decode, see helperProgram).
    explicit DecodeProcess(QString program = {});

    /// How long the helper may be silent before it is killed (kSilenceMs by default).
    void setSilenceLimit(int ms) { mSilenceMs = ms; }
    /// The CPU seconds the helper is given; 0 (the default): cpuSeconds() of the file's size.
    void setCpuLimit(int seconds) { mCpuSeconds = seconds; }
    /// Whether the sink is given left/right pairs instead of mono samples.
    void setStereo(bool stereo) { mStereo = stereo; }

    /// The CPU seconds the helper is given for a file of fileBytes.
    static int cpuSeconds(qint64 fileBytes);

    /// Decodes path in the helper into sink, as MonoAudioReader::read does. False
    /// with a short reason in error ("the decoder crashed", "the decoder ran out
    /// of time", the helper's own) when the file could not be read; true also
    /// when the sink stopped early (the helper is then killed).
    bool read(const QString& path, const MonoAudioReader::Sink& sink, QString* error = nullptr,
              const MonoAudioReader::Progress& progress = {}) const;

    /// One record of the helper's output.
    static QByteArray record(char kind, const char* data, qint64 size);

private:
    QString mProgram;
    int mSilenceMs = kSilenceMs;
    int mCpuSeconds = 0;
    bool mStereo = false;
};

} // namespace kntr
