#include "volumewindowmodel.h"

#include "model/numbers.h"
#include "platform/cddevice.h"
#include "platform/clock.h"
#include "platform/mediaplayer.h"
#include "platform/messageboxes.h"
#include "platform/waveplayer.h"
#include "tones/controltones.h"
#include "tones/voicecues.h"

#include <utility>

namespace kntr {

const QString VolumeWindowModel::kCaption = QStringLiteral("Kinetrova - Volume Settings");

const QString VolumeWindowModel::kNoCdText =
    QStringLiteral("CD not present or unplayable.\r\n\r\n"
                   "Please check that a working CD is in the player.");

const QString VolumeWindowModel::kTestCaption = QStringLiteral("Te&st");
const QString VolumeWindowModel::kStopCaption = QStringLiteral("&Stop");

VolumeWindowModel::VolumeWindowModel(SoundLevels& levels, CdDevice& cd, WavePlayer& player,
                                     ControlTones& tones, VoiceCues& cues, Clock& clock,
                                     MessageBoxes& messages)
    : mLevels(levels)
    , mCd(cd)
    , mPlayer(player)
    , mTones(tones)
    , mCues(cues)
    , mClock(clock)
    , mMessages(messages)
    , mMusicCaption(kTestCaption)
{
    mLevels.setRunModeHandler([this](bool running) { runModeChanged(running); });
}

VolumeWindowModel::~VolumeWindowModel()
{
    mLevels.setRunModeHandler({});
}

VolumeWindowModel::LoadStatus VolumeWindowModel::load()
{
    mTesting = false;
    mMusicCaption = kTestCaption;
    enableAll();
    const bool mixer = mLevels.load();
    changed();
    return mixer ? LoadStatus::Ready : LoadStatus::NoMixer;
}

VolumeWindowModel::Slider VolumeWindowModel::slider(Level level) const
{
    return {mLevels.minimum(), mLevels.maximum(), mLevels.value(level),
            mSliderEnabled[index(level)] && frameEnabled()};
}

void VolumeWindowModel::setValue(Level level, int value)
{
    if (!ensureReady())
        return;
    mLevels.set(level, value);
    if (!mLevels.running() || level == mLevels.inForce())
        mLevels.apply(level);
    changed();
}

void VolumeWindowModel::runModeChanged(bool running)
{
    // A test still sounding gives way to the run: its next steps are dropped.
    if (running && mTesting)
        endTest();
    changed();
}

void VolumeWindowModel::runTest(Level level, const std::function<void()>& play)
{
    if (mLevels.running() || !ensureReady() || mTesting)
        return;
    // The tested level's slider stays live, so it can be changed while the sound plays.
    mTesting = true;
    ++mTest;
    stopCd();
    isolate(level);
    mLevels.apply(level);
    changed();
    play();
}

void VolumeWindowModel::endTest()
{
    if (std::exchange(mListPlaying, false)) {
        mMusicPlayer->pause();
        mMusicCaption = kTestCaption;
    }
    mTesting = false;
    enableAll();
    mLevels.apply(Level::Main);
    changed();
}

void VolumeWindowModel::afterTest(qint64 ms, std::function<void()> step)
{
    // A step of a test the user has since left (a run began) is dropped.
    mClock.callAfter(ms,
                     [alive = std::weak_ptr<const int>(mAlive), test = mTest, this, step = std::move(step)] {
                         if (!alive.expired() && mTesting && test == mTest)
                             step();
                     });
}

void VolumeWindowModel::testTone()
{
    runTest(Level::Tone, [this] {
        const QByteArray image = mTones.MakeControlTone(10, 10, false);
        mPlayer.playImage(image, false);
        afterTest(msPastNextSecond(), [this, image] {
            mPlayer.playImage(image, false);
            afterTest(msPastNextSecond(), [this] { endTest(); });
        });
    });
}

void VolumeWindowModel::testVoice()
{
    runTest(Level::Voice, [this] {
        mPlayer.startFile(mCues.clipPath(QStringLiteral("getready")),
                          [alive = std::weak_ptr<const int>(mAlive), test = mTest, this](WavePlayer::Result) {
                              if (!alive.expired() && mTesting && test == mTest)
                                  endTest();
                          });
    });
}

void VolumeWindowModel::setPlayListMusic(MediaPlayer& player, PlayListSource playList)
{
    mMusicPlayer = &player;
    mPlayList = std::move(playList);
}

void VolumeWindowModel::testMusic()
{
    if (mLevels.running() || !ensureReady())
        return;
    if (mListPlaying) {
        endTest();
        return;
    }
    if (mTesting)
        return;
    if (mMusicCaption == kStopCaption) {
        mCd.sendCommand(QStringLiteral("stop cdaudio"));
        mMusicCaption = kTestCaption;
        enableAll();
        mLevels.apply(Level::Main);
        changed();
        return;
    }
    const QString playList = mMusicPlayer && mPlayList ? mPlayList() : QString();
    if (!playList.isEmpty()) {
        testPlayList(playList);
        return;
    }

    mTesting = true;
    isolate(Level::Music);
    mLevels.apply(Level::Music);
    changed();
    QString answer;
    mCd.sendCommand(QStringLiteral("status cdaudio media present"), &answer);
    mTesting = false;

    if (answer.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        mCd.sendCommand(QStringLiteral("play cdaudio"));
        mMusicCaption = kStopCaption;
        changed();
        return;
    }
    mCd.sendCommand(QStringLiteral("stop cdaudio"));
    mMusicCaption = kTestCaption;
    enableAll();
    // Nothing plays at the music level, so the main level returns at once.
    mLevels.apply(Level::Main);
    changed();
    mMessages.show(kNoCdText, MessageBoxes::Icon::Exclamation);
}

void VolumeWindowModel::testPlayList(const QString& path)
{
    mTesting = true;
    ++mTest;
    isolate(Level::Music);
    mLevels.apply(Level::Music);
    changed();
    // The player says which entries it passed over and why; with none left
    // there is nothing to hear, and the user learns which files to replace.
    if (!mMusicPlayer->setPlayList(path) || mMusicPlayer->entryCount() < 1) {
        endTest();
        QString text = QStringLiteral("The play list %1 has no music that can be played.").arg(path);
        const QStringList notes = mMusicPlayer->skippedNotes();
        if (!notes.isEmpty())
            text += QStringLiteral("\r\r") + notes.join(QLatin1Char('\r'));
        text += QStringLiteral("\r\rAdd music files to it with Audio > Play list, or choose the CD "
                               "with Audio > CD-ROM.");
        mMessages.show(text, MessageBoxes::Icon::Exclamation);
        return;
    }
    mMusicPlayer->setAutoStart(false);
    mMusicPlayer->selectEntry(1);
    mMusicPlayer->play();
    mListPlaying = true;
    mMusicCaption = kStopCaption;
    changed();
    afterTest(kPlayListTestMs, [this] { endTest(); });
}

void VolumeWindowModel::restoreDefaults()
{
    if (mLevels.running() || !ensureReady())
        return;
    stopCd();
    mLevels.restoreDefaults();
    changed();
}

void VolumeWindowModel::accept()
{
    // Without a mixer the sliders hold nothing worth keeping: the stored levels stay.
    if (mLevels.running() || !ensureReady())
        return;
    mLevels.store();
    stopCd();
    mLevels.apply(Level::Main);
    changed();
}

void VolumeWindowModel::cancel()
{
    if (mLevels.running() || !ensureReady())
        return;
    stopCd();
    mLevels.restoreStored();
    changed();
}

void VolumeWindowModel::unload()
{
    // During a run the window only goes out of sight: the run's levels and music stay.
    if (!mLevels.isLoaded() || mLevels.running())
        return;
    stopCd();
    mLevels.unload();
    changed();
}

bool VolumeWindowModel::ensureReady()
{
    if (!mLevels.isLoaded())
        load();
    return mLevels.hasMixer();
}

void VolumeWindowModel::stopCd()
{
    if (mListPlaying)
        endTest();
    mCd.sendCommand(QStringLiteral("stop cdaudio"));
    mCd.sendCommand(QStringLiteral("close cdaudio"));
    // A music test ended this way gives the other levels back, as its Stop does.
    if (mMusicCaption == kStopCaption)
        enableAll();
    mMusicCaption = kTestCaption;
}

void VolumeWindowModel::isolate(Level level)
{
    // Only the level under test can be changed or tested while it plays.
    const std::pair<Level, Test> kinds[] = {
        {Level::Tone, Test::Tone}, {Level::Music, Test::Music}, {Level::Voice, Test::Voice}};
    for (const auto& [l, t] : kinds) {
        mSliderEnabled[index(l)] = l == level;
        if (l != level)
            mTestEnabled[index(t)] = false;
    }
}

void VolumeWindowModel::enableAll()
{
    mSliderEnabled.fill(true);
    mTestEnabled.fill(true);
}

qint64 VolumeWindowModel::msPastNextSecond() const
{
    // Past the whole second nearest to one second from now, on the monotonic clock
    // (a wall-clock timer that restarts at midnight would never get there).
    const qint64 until = static_cast<qint64>(roundHalfEven(mClock.tickMs() / 1000.0 + 1.0)) * 1000;
    return until + 1 - mClock.tickMs();
}

void VolumeWindowModel::changed()
{
    if (mOnChange)
        mOnChange();
}

} // namespace kntr
