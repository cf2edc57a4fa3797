#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace kntr {

/// The voice-cue clips as a workout file carries them.
///
/// A clip is a 22,050 Hz 16-bit mono WAV file whose first 88 bytes (44 for an
/// MP3 workout, which reads from the end of the canonical header) are skipped;
/// every 2-byte sample after them is repeated so that the clip plays at
/// 44,100 Hz: four times in a stereo file (two identical frames), twice in a mono
/// one. A clip of L bytes thus takes 4 × (L − 88) or 2 × (L − 88) bytes. A
/// missing or unreadable clip has no samples. Clip names are matched without
/// regard to case; each clip is read once.
class VoiceClipSamples {
public:
    static constexpr int kSkippedBytes = 88;

    VoiceClipSamples(const QString& clipDir, bool stereo, int skippedBytes = kSkippedBytes);

    /// The samples for the word's clip; empty for an empty word or a missing clip.
    const QByteArray& samples(const QString& word);

    /// Converts the bytes of a clip file.
    static QByteArray convert(const QByteArray& clipFile, bool stereo, int skippedBytes = kSkippedBytes);

private:
    bool mStereo;
    int mSkippedBytes;
    QHash<QString, QString> mFiles; // lower-case file name → path
    QHash<QString, QByteArray> mSamples; // lower-case word → samples
};

} // namespace kntr
