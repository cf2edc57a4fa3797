#pragma once

#include "mediaplayer.h"
#include "musicentrycheck.h"

#include <QElapsedTimer>
#include <QMetaObject>
#include <QStringList>

#include <functional>
#include <vector>

namespace kntr {

class MusicProcess;

/// The play-list player of a live run, playing in the music process so that a
/// file that crashes or hangs a decoder ends only the music.
///
/// Before a run, setPlayList checks every entry (MusicEntryCheck, then the music
/// process opens it with its decoder) and leaves out those that fail; it waits
/// for the answers, a few seconds at most. Every other call only writes a
/// command: the getters answer from what the music process last reported,
/// carried forward by the time passed while playing. Once the music process has
/// failed every call does nothing and position() is -1, until the next setPlayList.
class ProcessMediaPlayer : public MediaPlayer {
public:
    /// Gives the paths of the play list at path; empty when it cannot be read.
    using PlayListReader = std::function<QStringList(const QString& path)>;

    /// How long the decoder may take over one entry, and over the whole list.
    static constexpr int kEntryCheckMs = 4000;
    static constexpr int kListCheckMs = 20000;
    /// How long loading the checked list may take.
    static constexpr int kLoadMs = 8000;
    /// How often the check starts a new music process after one failed on an entry.
    static constexpr int kMaxRestarts = 3;

    /// The process, shared with the CD device, must outlive the player.
    ProcessMediaPlayer(MusicProcess& process, PlayListReader reader);
    ~ProcessMediaPlayer() override;
    ProcessMediaPlayer(const ProcessMediaPlayer&) = delete;
    ProcessMediaPlayer& operator=(const ProcessMediaPlayer&) = delete;

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

    /// The entries the last setPlayList left out, with the reasons.
    const std::vector<SkippedEntry>& skippedEntries() const { return mSkipped; }
    QStringList skippedNotes() const override;

private:
    /// The decoder's verdict on each candidate: the entries it can open, with their lengths.
    void checkWithDecoder(const QStringList& candidates);
    bool usable() const;
    void takeStatus();
    /// The position now, and it is from here that time is counted.
    void settle();
    void noteSubject();

    MusicProcess& mProcess;
    PlayListReader mReader;
    QMetaObject::Connection mStatusConnection;
    QMetaObject::Connection mFailedConnection;
    QMetaObject::Connection mEntryConnection;

    QStringList mEntries;
    std::vector<double> mDurations;
    std::vector<SkippedEntry> mSkipped;
    bool mLoaded = false;
    bool mAutoStart = false;
    int mCurrent = 0;
    double mPosition = -1.0; ///< seconds, at mSince
    double mDuration = 0.0;
    double mPartEnd = 0.0; ///< 0: the end of the entry
    bool mPlaying = false;
    QElapsedTimer mSince;
};

} // namespace kntr
