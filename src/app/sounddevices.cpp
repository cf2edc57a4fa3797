#include "sounddevices.h"

#include "files/asxplaylist.h"
#include "platform/apppaths.h"

#include <QLoggingCategory>

#include <utility>

namespace kntr {

void prepareSoundBackend()
{
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
}

SoundDevices::SoundDevices(Clock& clock, SettingsStore& settings, const AppPaths& paths,
                           const Machine& machine, MessageBoxes& messages, const QString& cdDevice)
    : mMixer(mGain)
    , mPlayer(clock, &mGain)
    , mRunPlayer(clock, &mGain)
    , mTones(machine)
    , mCues(paths.voiceCueDir())
    , mMusic(QString(), cdDevice, &mGain)
    , mCd(mMusic)
    , mMci(mCd, messages)
    , mMediaPlayer(mMusic,
                   [](const QString& path) { return AsxPlayList::read(path).value_or(QStringList()); })
    , mLevels(mMixer, settings, messages)
{
}

SoundDevices::~SoundDevices() = default;

void SoundDevices::release()
{
    mLevels.useLevel(SoundLevel::Main);
    mMixer.close();
    mMci.SendMci(QStringLiteral("stop cdaudio"), false);
    mMci.SendMci(QStringLiteral("close cdaudio"), false);
    mMci.SendMci(QStringLiteral("close all"), false);
    mMusic.end();
}

void SoundDevices::setMusicFailureHandler(std::function<void(const QString&)> handler)
{
    mMusic.setFailureHandler(std::move(handler));
}

} // namespace kntr
