#include "fakemixer.h"

#include "platform/clock.h"

#include <algorithm>

namespace kntr {

void FakeMixer::record(const char* what, unsigned value, bool ok)
{
    mChanges.push_back({mClock.tickMs(), QString::fromLatin1(what), value, ok});
}

bool FakeMixer::open()
{
    mOpen = mAvailable;
    record("open", 0, mOpen);
    return mOpen;
}

void FakeMixer::close()
{
    mOpen = false;
    record("close", 0, true);
}

bool FakeMixer::setVolume(unsigned value)
{
    value = std::min(value, mMaximum);
    if (mOpen)
        mVolume = value;
    record("volume", value, mOpen);
    return mOpen;
}

bool FakeMixer::setMuted(bool muted)
{
    if (mOpen)
        mMuted = muted;
    record("mute", muted ? 1 : 0, mOpen);
    return mOpen;
}

} // namespace kntr
