#include "recordingmediaplayer.h"

#include "platform/clock.h"

#include <algorithm>
#include <cmath>

namespace kntr {

void RecordingMediaPlayer::scriptPlayList(const QString& path, std::vector<double> durations)
{
    mScripts.insert(path, std::move(durations));
}

bool RecordingMediaPlayer::setPlayList(const QString& path)
{
    catchUp();
    record({mClock.tickMs(), Kind::SetPlayList, path});
    mEntries = mScripts.value(path);
    mPlaying = false;
    startAt(playableFrom(1));
    mPlaying = mCurrent > 0 && mAutoStart;
    return mCurrent > 0;
}

QStringList RecordingMediaPlayer::skippedNotes() const
{
    QStringList notes;
    for (int n = 1; n <= entryCount(); ++n)
        if (length(n) <= 0)
            notes << QStringLiteral("entry %1 was skipped: it cannot be played").arg(n);
    return notes;
}

int RecordingMediaPlayer::entryCount() const
{
    return static_cast<int>(mEntries.size());
}

void RecordingMediaPlayer::selectEntry(int n)
{
    catchUp();
    Call call{mClock.tickMs(), Kind::SelectEntry};
    call.entry = n;
    record(call);
    if (n < 1 || n > entryCount())
        return;
    if (n != mCurrent)
        startAt(playableFrom(n));
    if (mAutoStart && mCurrent > 0)
        mPlaying = true;
}

int RecordingMediaPlayer::currentEntry() const
{
    catchUp();
    if (mEntries.empty())
        return 0;
    return mCurrent;
}

double RecordingMediaPlayer::position() const
{
    catchUp();
    return mCurrent > 0 ? mPosition : -1.0;
}

double RecordingMediaPlayer::duration() const
{
    catchUp();
    return mCurrent > 0 ? length(mCurrent) : 0.0;
}

void RecordingMediaPlayer::setPart(double start, double end)
{
    catchUp();
    Call call{mClock.tickMs(), Kind::SetPart};
    call.start = start;
    call.end = end;
    record(call);
    if (mCurrent == 0)
        return;
    mPosition = std::max(0.0, start);
    mPartEnd = std::max(0.0, end);
    catchUp();
}

void RecordingMediaPlayer::setAutoStart(bool on)
{
    catchUp();
    Call call{mClock.tickMs(), Kind::SetAutoStart};
    call.on = on;
    record(call);
    mAutoStart = on;
}

void RecordingMediaPlayer::play()
{
    catchUp();
    record({mClock.tickMs(), Kind::Play});
    mPlaying = mCurrent > 0;
}

void RecordingMediaPlayer::pause()
{
    catchUp();
    record({mClock.tickMs(), Kind::Pause});
    mPlaying = false;
}

const std::vector<RecordingMediaPlayer::Call>& RecordingMediaPlayer::calls() const
{
    catchUp();
    return mCalls;
}

double RecordingMediaPlayer::length(int n) const
{
    return n >= 1 && n <= entryCount() ? mEntries[static_cast<size_t>(n - 1)] : 0.0;
}

int RecordingMediaPlayer::playableFrom(int n) const
{
    for (int tried = 0; tried < entryCount(); ++tried, n = next(n))
        if (length(n) > 0.0)
            return n;
    return 0;
}

void RecordingMediaPlayer::startAt(int n)
{
    mCurrent = n;
    mPosition = 0.0;
    mPartEnd = 0.0;
    mSinceMs = mClock.tickMs();
}

void RecordingMediaPlayer::catchUp() const
{
    const qint64 now = mClock.tickMs();
    if (!mPlaying || mCurrent == 0) {
        mSinceMs = now;
        return;
    }
    // Milliseconds of the clock's time not yet played.
    qint64 leftMs = now - mSinceMs;
    for (;;) {
        const double end = mPartEnd > 0.0 ? std::min(mPartEnd, length(mCurrent)) : length(mCurrent);
        // An entry just begun lasts at least a millisecond, so the loop always ends.
        const qint64 toEndMs =
            std::max<qint64>(mPosition > 0.0 ? 0 : 1, std::llround((end - mPosition) * 1000.0));
        if (leftMs < toEndMs) {
            mPosition += leftMs / 1000.0;
            break;
        }
        leftMs -= toEndMs;
        mCurrent = playableFrom(next(mCurrent));
        mPosition = 0.0;
        mPartEnd = 0.0;
        Call call{now - leftMs, Kind::NextEntry};
        call.entry = mCurrent;
        mCalls.push_back(call);
    }
    mSinceMs = now;
}

void RecordingMediaPlayer::record(Call call)
{
    mCalls.push_back(std::move(call));
}

} // namespace kntr
