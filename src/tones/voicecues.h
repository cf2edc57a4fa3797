#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

class Clock;
class WavePlayer;

/// Speaks the run's cues from the recorded clips: one 22,050 Hz mono WAV file per
/// word or number ("getready", "endofworkout", "Speed", "Incline", "Resistance",
/// "0" to "12", "point") in the voice-cue folder.
class VoiceCues
{
public:
    /// Clips come from clipDir; window events are processed through the clock
    /// between the clips of a number.
    VoiceCues(WavePlayer& player, Clock& clock, QString clipDir);

    /// Plays the clip of the word and returns when it has been heard. A missing or
    /// unplayable clip plays nothing and is not reported.
    void PlayCue(const QString& word);

    /// Speaks a number as shown in an editing box, with the system's decimal
    /// separator: the whole part (0 to 12 as one clip, from 13 on its first two
    /// digits one by one), "point", then the last character. 10 is spoken "10
    /// point 0", 14.5 "1 4 point 5".
    void SpeakNumber(const QString& text);

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
    WavePlayer& mPlayer;
    Clock& mClock;
    QString mClipDir;
};

} // namespace kntr
