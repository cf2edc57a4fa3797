#pragma once

#include "platform/mixer.h"

#include <QString>

#include <vector>

namespace kntr {

class Clock;

/// A mixer for tests: scriptable (present or not, starting level and mute) and
/// recording every change with the clock's time.
class FakeMixer : public Mixer {
public:
    struct Change {
        qint64 atMs;
        QString what; ///< "open", "close", "volume" or "mute"
        unsigned value; ///< the level set, or 1/0 for mute on/off
        bool ok;
    };

    explicit FakeMixer(Clock& clock)
        : mClock(clock)
    {
    }

    /// Whether open() finds a device (default true).
    void setAvailable(bool available) { mAvailable = available; }
    void setMaximum(unsigned maximum) { mMaximum = maximum; }
    /// Sets the state as found on opening, without recording a change.
    void preset(unsigned volume, bool muted)
    {
        mVolume = volume;
        mMuted = muted;
    }

    bool open() override;
    void close() override;
    bool isOpen() const override { return mOpen; }
    unsigned minimum() const override { return 0; }
    unsigned maximum() const override { return mMaximum; }
    unsigned volume() const override { return mOpen ? mVolume : 0; }
    bool setVolume(unsigned value) override;
    bool isMuted() const override { return mOpen && mMuted; }
    bool setMuted(bool muted) override;

    const std::vector<Change>& changes() const { return mChanges; }
    /// The level in force, whether open or not.
    unsigned level() const { return mVolume; }

private:
    void record(const char* what, unsigned value, bool ok);

    Clock& mClock;
    bool mAvailable = true;
    bool mOpen = false;
    unsigned mMaximum = 65535;
    unsigned mVolume = 65535;
    bool mMuted = false;
    std::vector<Change> mChanges;
};

} // namespace kntr
