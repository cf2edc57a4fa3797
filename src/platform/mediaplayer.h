#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// Plays a play list (an ASX file) entry by entry for the music of a live run.
/// Entries are numbered from 1. Calls that cannot be carried out do nothing:
/// the run goes on without music rather than stop.
class MediaPlayer {
public:
    virtual ~MediaPlayer() = default;

    /// Loads the play list at path and selects its first entry. Returns whether
    /// it holds at least one entry that can be played; the player reports so
    /// within a few seconds at most.
    virtual bool setPlayList(const QString& path) = 0;
    /// The number of entries of the loaded play list; 0 when none is loaded.
    virtual int entryCount() const = 0;
    /// Makes entry n (1 … entryCount()) the current one.
    virtual void selectEntry(int n) = 0;
    /// The current entry, 1-based; 0 when none is loaded.
    virtual int currentEntry() const = 0;
    /// The position in the current entry, seconds; negative when nothing can be played.
    virtual double position() const = 0;
    /// The length of the current entry, seconds; 0 while unknown.
    virtual double duration() const = 0;
    /// Limits playing of the current entry to the part from start to end (seconds):
    /// it starts at start, and at end the next entry begins (after the last, the first).
    virtual void setPart(double start, double end) = 0;
    /// Whether selecting an entry starts playing it at once.
    virtual void setAutoStart(bool on) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;

    /// The entries of the loaded play list that were found unplayable and passed
    /// over, each as "FILE was skipped: REASON".
    virtual QStringList skippedNotes() const { return {}; }
};

} // namespace kntr
