#include "qtmixer.h"

#include "mastergain.h"

#include <QAudioDevice>
#include <QMediaDevices>

namespace kntr {

bool QtMixer::open()
{
    mOpen = !QMediaDevices::audioOutputs().isEmpty();
    return mOpen;
}

unsigned QtMixer::maximum() const
{
    return MasterGain::kMaximum;
}

unsigned QtMixer::volume() const
{
    return mOpen ? mGain.level() : 0;
}

bool QtMixer::setVolume(unsigned value)
{
    if (!mOpen)
        return false;
    mGain.setLevel(value);
    return true;
}

bool QtMixer::isMuted() const
{
    return mOpen && mGain.muted();
}

bool QtMixer::setMuted(bool muted)
{
    if (!mOpen)
        return false;
    mGain.setMuted(muted);
    return true;
}

} // namespace kntr
