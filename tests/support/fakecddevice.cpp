#include "fakecddevice.h"

#include "platform/clock.h"

#include <QStringList>

namespace kntr {

FakeCdDevice::FakeCdDevice(Clock& clock, int discSeconds)
    : mClock(clock)
    , mStartFrame(2 * kFramesPerSecond)
    , mEndFrame(mStartFrame + discSeconds * kFramesPerSecond)
    , mFrame(mStartFrame)
{
}

void FakeCdDevice::setDiscPresent(bool present)
{
    settle();
    mDiscPresent = present;
    mPlaying = false;
    mFrame = mStartFrame;
}

int FakeCdDevice::sendCommand(const QString& command, QString* answer)
{
    QString reply;
    const int code = CdDevice::sendCommand(command, &reply);
    mSent.push_back({mClock.tickMs(), command, code, reply});
    if (answer)
        *answer = reply;
    return code;
}

QStringList FakeCdDevice::commands() const
{
    QStringList list;
    for (const Sent& s : mSent)
        list << s.command;
    return list;
}

int FakeCdDevice::currentFrame() const
{
    if (!mPlaying)
        return mFrame;
    const qint64 elapsed = mClock.tickMs() - mPlayStartMs;
    return static_cast<int>(std::min<qint64>(mEndFrame, mFrame + elapsed * kFramesPerSecond / 1000));
}

void FakeCdDevice::settle()
{
    // Playing ends by itself at the end of the disc.
    if (mPlaying && currentFrame() >= mEndFrame) {
        mFrame = mEndFrame;
        mPlaying = false;
    }
}

int FakeCdDevice::reach()
{
    settle();
    if (!mDrivePresent)
        return kNoDrive;
    mOpen = true;
    if (mFailure)
        return mFailure;
    return kOk;
}

int FakeCdDevice::mediaPresent(bool& present)
{
    const int code = reach();
    present = code == kOk && mDiscPresent;
    return code;
}

int FakeCdDevice::play(std::optional<int> fromFrame)
{
    if (const int code = reach())
        return code;
    if (!mDiscPresent)
        return kNoDisc;
    if (fromFrame) {
        if (*fromFrame < mStartFrame || *fromFrame >= mEndFrame)
            return kBadPosition;
        mFrame = *fromFrame;
    } else {
        mFrame = currentFrame();
        if (mFrame >= mEndFrame)
            mFrame = mStartFrame;
    }
    mPlaying = true;
    mPlayStartMs = mClock.tickMs();
    return kOk;
}

int FakeCdDevice::pause()
{
    if (const int code = reach())
        return code;
    if (!mDiscPresent)
        return kNoDisc;
    mFrame = currentFrame();
    mPlaying = false;
    return kOk;
}

int FakeCdDevice::position(int& frame)
{
    if (const int code = reach())
        return code;
    if (!mDiscPresent)
        return kNoDisc;
    frame = currentFrame();
    return kOk;
}

int FakeCdDevice::stop()
{
    // The position stays where playing stopped, as with pause.
    return pause();
}

int FakeCdDevice::close()
{
    settle();
    mFrame = mPlaying ? currentFrame() : mFrame;
    mPlaying = false;
    mOpen = false;
    return kOk;
}

} // namespace kntr
