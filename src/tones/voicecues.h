#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// The run's cues as recorded clips: one 22,050 Hz mono WAV file per
/// word or number ("getready", "endofworkout", "Speed", "Incline", "Resistance",
/// "0" to "12", "point") in the voice-cue folder.
class VoiceCues {
public:
    /// Clips come from clipDir.
    explicit VoiceCues(QString clipDir);

    /// The clips a number is spoken with, in order: the whole part (0 to 12 as
    /// one clip, from 13 on its first two digits one by one), "point", then the
    /// last character, or "0" for a whole number ("14.5" gives 1, 4, point, 5).
    /// The number is written with separator, the system's by default.
    static QStringList numberWords(const QString& text, QChar separator);
    static QStringList numberWords(const QString& text);

    /// The clip file of a word: the file in the folder whose name matches
    /// word + ".wav" without regard to case, or that name when there is none.
    QString clipPath(const QString& word) const;

private:
    QString mClipDir;
};

} // namespace kntr
