#include "recordingwaveplayer.h"

#include "platform/clock.h"
#include "platform/wavimage.h"

#include <QFile>
#include <QFileInfo>

namespace kntr {

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

bool RecordingWavePlayer::play(Call call, const QByteArray& wav)
{
    call.atMs = mClock.tickMs();
    const std::optional<WavImage> parsed = WavImage::parse(wav);
    call.played = parsed.has_value() && !mFailing;
    if (call.played)
        call.durationMs = (parsed->durationUs() + 999) / 1000;
    mCalls.push_back(call);
    if (call.played && call.wait)
        mClock.wait(static_cast<int>(call.durationMs));
    return call.played;
}

bool RecordingWavePlayer::playImage(const QByteArray& image, bool wait)
{
    Call call{0, Kind::Image, image, QString(), wait};
    return play(std::move(call), image);
}

bool RecordingWavePlayer::playFile(const QString& path)
{
    return play(Call{0, Kind::File, QByteArray(), path, true}, readAll(path));
}

void RecordingWavePlayer::begin(Call call, const QByteArray& wav, Done done)
{
    cut();
    play(call, wav);
    const Call& made = mCalls.back();
    const Result result = made.played ? Result::Heard : mFailing ? Result::OutputLost : Result::Unplayable;
    mDone = std::move(done);
    mPending = mClock.callAfter(made.durationMs, [this, result] {
        mPending = 0;
        if (Done d = std::move(mDone)) {
            mDone = nullptr;
            d(result);
        }
    });
}

void RecordingWavePlayer::start(const QByteArray& image, Done done)
{
    begin(Call{0, Kind::Image, image, QString(), false}, image, std::move(done));
}

void RecordingWavePlayer::startFile(const QString& path, Done done)
{
    begin(Call{0, Kind::File, QByteArray(), path, false}, readAll(path), std::move(done));
}

void RecordingWavePlayer::stop()
{
    mCalls.push_back(Call{mClock.tickMs(), Kind::Stop, QByteArray(), QString()});
    cut();
}

void RecordingWavePlayer::cut()
{
    if (mPending == 0)
        return;
    mClock.cancel(mPending);
    mPending = 0;
    if (Done d = std::move(mDone)) {
        mDone = nullptr;
        mClock.callAfter(0, [d = std::move(d)] { d(Result::Stopped); });
    }
}

QStringList RecordingWavePlayer::clipNames() const
{
    QStringList names;
    for (const Call& c : mCalls)
        if (c.kind == Kind::File)
            names << QFileInfo(c.path).completeBaseName();
    return names;
}

} // namespace kntr
