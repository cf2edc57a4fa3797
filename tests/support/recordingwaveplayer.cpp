#include "recordingwaveplayer.h"

#include "platform/clock.h"
#include "platform/wavimage.h"

#include <QFile>
#include <QFileInfo>

namespace kntr {

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
    QByteArray content;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        content = file.readAll();
    return play(Call{0, Kind::File, QByteArray(), path, true}, content);
}

void RecordingWavePlayer::stop()
{
    mCalls.push_back(Call{mClock.tickMs(), Kind::Stop, QByteArray(), QString()});
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
