#include "sounddevices.h"

#include "platform/apppaths.h"

namespace kntr {

namespace {

// A stand-in until the play-list player is wired.
class NoMediaPlayer : public MediaPlayer
{
public:
    bool setPlayList(const QString&) override { return false; }
    int entryCount() const override { return 0; }
    void selectEntry(int) override {}
    int currentEntry() const override { return 0; }
    double position() const override { return -1; }
    double duration() const override { return 0; }
    void setPart(double, double) override {}
    void setAutoStart(bool) override {}
    void play() override {}
    void pause() override {}
};

} // namespace

SoundDevices::SoundDevices(Clock& clock, SettingsStore& settings, const AppPaths& paths, const Machine& machine,
                           MessageBoxes& messages)
    : mMixer(mGain)
    , mPlayer(clock, &mGain)
    , mTones(machine)
    , mCues(mPlayer, clock, paths.voiceCueDir())
    , mMci(mCd, messages)
    , mMediaPlayer(std::make_unique<NoMediaPlayer>())
    , mLevels(mMixer, settings, mCd, mPlayer, mTones, mCues, clock, messages)
{
}

SoundDevices::~SoundDevices() = default;

void SoundDevices::release()
{
    mLevels.hscVolMain_Change();
    mMixer.close();
    mMci.SendMci(QStringLiteral("stop cdaudio"), false);
    mMci.SendMci(QStringLiteral("close cdaudio"), false);
    mMci.SendMci(QStringLiteral("close all"), false);
}

} // namespace kntr
