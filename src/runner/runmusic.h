#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

class CdDevice;
class Clock;
class LevelSwitch;
class MciCommands;
class MediaPlayer;
class SettingsStore;

/// The background music of a live run: none, an audio CD or a play list. The
/// music falls silent for every control tone and cue and then goes on: a CD at
/// the place it would have reached had it never paused, so it keeps pace with
/// the clock; a play list where it stopped.
class RunMusic {
public:
    /// The music source as stored under audio/volOption.
    enum AudioType { kNone = 1, kCdVariant = 2, kCd = 3, kPlayList = 5 };

    RunMusic(SettingsStore& settings, CdDevice& cd, MciCommands& mci, MediaPlayer& player,
             LevelSwitch& levels, Clock& clock);

    int audioType() const { return mAudioType; }
    /// The Audio menu entry that shows the source checked: 1 "None", 2 "CD-ROM", 3 "Play list".
    int menuEntry() const;
    /// The play list in use (audio/ASXfilename).
    QString playListFile() const;

    /// Applies a source (1 … 5; 4 counts as the CD variant) and stores it. A play
    /// list without a file name selects no music.
    void SetAudioType(int value);
    /// At start-up: applies the stored source (audio/volOption; none when absent).
    void restoreAudioType();
    /// The Audio menu's choice of entry 1 … 3, after the play-list window has
    /// closed for entry 3.
    void chooseMenuEntry(int entry);

    /// Before a run: whether a CD can be played.
    bool cdPresent();
    /// Before a run from the start: loads the play list and sets it to play from
    /// its first entry. False when it cannot be played.
    bool loadPlayList();
    /// Before a run by Resume: the play list is read afresh, to go on where it was.
    void reloadPlayList();
    /// What the user should hear of the last load (entries passed over); emptied.
    QStringList takeNotes();
    /// The music failed during a run: until the run ends it counts as none.
    void dropForThisRun();
    /// During the countdown: the music begins (Start) or goes on (Resume).
    void startMusic(bool resume);
    /// At every segment start and on Stop: silence, keeping the place.
    void pause();
    /// After the tone and cues of a segment.
    void resume();
    /// At the end of a completed workout.
    void stopAtEnd();
    /// After a run ended: a CD started by Start stays paused at its place; one
    /// resumed by Resume is stopped and released.
    void afterRun(bool resumed);
    /// The countdown was cancelled.
    void cancelCountdown();
    /// Keeps the play list's current place so a Stop finds the latest one.
    void notePlace();

    const QString& savedCdPosition() const { return mCdPosition; }
    int savedEntry() const { return mEntry; }
    double savedPosition() const { return mPosition; }

private:
    bool isCd() const { return !mDropped && (mAudioType == kCd || mAudioType == kCdVariant); }
    bool isPlayList() const { return !mDropped && mAudioType == kPlayList; }
    void store(int value);
    void saveCdPosition();
    void selectPart(double from);

    SettingsStore& mSettings;
    CdDevice& mCd;
    MciCommands& mMci;
    MediaPlayer& mPlayer;
    LevelSwitch& mLevels;
    Clock& mClock;
    int mAudioType = kNone;
    QString mCdPosition = QString(50, QLatin1Char(' '));
    qint64 mCdPausedAt = 0;
    int mEntry = 1;
    double mPosition = 1.0;
    bool mDropped = false;
    QStringList mNotes;
};

} // namespace kntr
