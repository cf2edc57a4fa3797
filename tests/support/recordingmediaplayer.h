#pragma once

#include "platform/mediaplayer.h"

#include <QHash>

#include <vector>

namespace kntr {

class Clock;

/// A play-list player for tests: plays nothing, records every call with the
/// clock's time, and keeps a simulated position that moves with the clock while
/// playing. Play lists and the lengths of their entries are scripted, so a run's
/// pauses, resumes and moves to the next entry can be checked in virtual time.
///
/// It behaves as the real player does: an entry that cannot be played is passed
/// over for the next; at the end of the part or the entry the next entry plays
/// from its start, after the last the first; selecting the current entry keeps
/// its place.
class RecordingMediaPlayer : public MediaPlayer {
public:
    enum class Kind { SetPlayList, SelectEntry, SetPart, SetAutoStart, Play, Pause, NextEntry };

    struct Call {
        qint64 atMs = 0; ///< the clock's tick count when the call came (NextEntry: when the part ran out)
        Kind kind = Kind::Play;
        QString path = {}; ///< SetPlayList
        int entry = 0; ///< SelectEntry: the entry asked for; NextEntry: the entry that began
        double start = 0.0; ///< SetPart
        double end = 0.0; ///< SetPart
        bool on = false; ///< SetAutoStart
    };

    explicit RecordingMediaPlayer(Clock& clock)
        : mClock(clock)
    {
    }

    /// The play list at path holds entries of these lengths in seconds; a length of
    /// 0 or less marks an entry that cannot be played. Unscripted lists cannot be read.
    void scriptPlayList(const QString& path, std::vector<double> durations);

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
    /// "entry N was skipped: it cannot be played" for each unplayable entry.
    QStringList skippedNotes() const override;

    bool isPlaying() const { return mPlaying; }
    const std::vector<Call>& calls() const;
    void clear() { mCalls.clear(); }

private:
    double length(int n) const;
    /// The first entry from n on that can be played; 0 when there is none.
    int playableFrom(int n) const;
    int next(int n) const { return n < entryCount() ? n + 1 : 1; }
    /// Moves the simulated position on to the clock's time, through as many
    /// entries as the time covers.
    void catchUp() const;
    void record(Call call);
    void startAt(int n);

    Clock& mClock;
    QHash<QString, std::vector<double>> mScripts;
    std::vector<double> mEntries;
    bool mAutoStart = false;
    mutable std::vector<Call> mCalls;
    mutable int mCurrent = 0; ///< 0: nothing can be played
    mutable bool mPlaying = false;
    mutable double mPosition = 0.0; ///< seconds, at mSinceMs
    mutable qint64 mSinceMs = 0;
    mutable double mPartEnd = 0.0; ///< 0: to the end of the entry
};

} // namespace kntr
