#pragma once

#include "mediaplayer.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <utility>

class QAudioOutput;
class QEventLoop;
class QMediaPlayer;
class QTimer;

namespace kntr {

class MasterGain;

/// The play-list player of a live run on the sound card, through Qt Multimedia's
/// QMediaPlayer (use the ffmpeg backend: it starts, pauses and seeks promptly).
///
/// The play list's paths come from a reader handed in by the program, so that
/// this class knows nothing of the play-list format. Entries are played in
/// order; an entry that is missing or cannot be decoded is passed over for the
/// next one, so a bad file never stops the music for good. Loading an entry is
/// awaited (a few seconds at most, window input held back meanwhile) where the
/// caller needs its length at once: setPlayList and selectEntry. Moving on at
/// the end of a part or an entry happens in the background.
///
/// The music's volume follows the master gain, as every other sound does.
class QtMediaPlayer : public QObject, public MediaPlayer {
    Q_OBJECT

public:
    /// Gives the paths of the play list at path; empty when it cannot be read.
    using PlayListReader = std::function<QStringList(const QString& path)>;

    /// How long one entry may take to load before it counts as unplayable.
    static constexpr int kEntryLoadMs = 3000;
    /// How long setPlayList and selectEntry wait for an entry that plays.
    static constexpr int kWaitMs = 5000;

    /// The gain may be null (full level).
    explicit QtMediaPlayer(PlayListReader reader, const MasterGain* gain = nullptr,
                           QObject* parent = nullptr);
    ~QtMediaPlayer() override;

    bool setPlayList(const QString& path) override;
    int entryCount() const override;
    void selectEntry(int n) override;
    int currentEntry() const override;
    double position() const override;
    double duration() const override;
    void setPart(double start, double end) override;
    void setAutoStart(bool on) override;
    void play() override;
    void pause() override;

    /// Whether music is meant to be playing (play() or an automatic start, and no pause since).
    bool isPlaying() const { return mWantPlay; }

    /// Decides, just before an entry is handed to the decoder, whether it may be;
    /// an entry it turns down is passed over like a missing one.
    using EntryCheck = std::function<bool(const QString& path)>;
    void setEntryCheck(EntryCheck check) { mEntryCheck = std::move(check); }

private:
    enum class State { Empty, Loading, Loaded, Dead };

    /// Starts loading entry n, or the first entry after it that exists as a file.
    void startEntry(int n);
    int nextEntry(int n) const;
    /// The current entry cannot be played: the next one is tried, until every entry has failed.
    void entryFailed();
    /// The part or the entry is over: the next entry plays from its start.
    void advance();
    void giveUp();
    /// Something changed in the backend: looked at once control is back in the event loop.
    void noteChange();
    void update();
    void waitWhileLoading();
    void applyGain();

    PlayListReader mReader;
    EntryCheck mEntryCheck;
    QPointer<const MasterGain> mGain;
    QMediaPlayer* mPlayer;
    QAudioOutput* mOutput;
    QTimer* mLoadTimer;
    QEventLoop* mWaitLoop = nullptr;

    QStringList mEntries;
    int mCurrent = 0;
    State mState = State::Empty;
    int mFailedInRow = 0; ///< entries that failed one after the other
    bool mError = false; ///< the backend reported an error for the current source
    bool mUpdatePending = false;
    bool mWantPlay = false;
    bool mAutoStart = false;
    double mPartStart = 0.0; ///< seconds
    double mPartEnd = 0.0; ///< seconds; 0 plays to the end of the entry
};

} // namespace kntr
