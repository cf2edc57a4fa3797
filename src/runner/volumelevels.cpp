#include "volumelevels.h"

#include "model/numbers.h"
#include "platform/cddevice.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/mixer.h"
#include "platform/settingsstore.h"
#include "platform/waveplayer.h"
#include "tones/controltones.h"
#include "tones/voicecues.h"

#include <QLocale>

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

namespace kntr {

const QString VolumeLevels::kCaption = QStringLiteral("Kinetrova - Volume Settings");

const QString VolumeLevels::kNoMixerText =
    QStringLiteral("No mixer device was found. Kinetrova requires a\r"
                   "sound card to play controls sounds. Without a card\r"
                   "you can still view the program.");

const QString VolumeLevels::kMuteQuestion =
    QStringLiteral("The Master Mute of the software Volume control on your \r"
                   "computer is turned off. You can run Kinetrova, but you\r"
                   "won't hear anything. Would like to UnMute it?");

const QString VolumeLevels::kNoCdText =
    QStringLiteral("CD not present or unplayable.\r\n\r\n"
                   "Please check that a working CD is in the player.");

const QString VolumeLevels::kTestCaption = QStringLiteral("Te&st");
const QString VolumeLevels::kStopCaption = QStringLiteral("&Stop");

namespace {

const QString kSection = QStringLiteral("Audio");
constexpr const char* kToneKey = "Chirp";
constexpr const char* kMusicKey = "AltAudio";
constexpr const char* kVoiceKey = "VoiceCue";

} // namespace

VolumeLevels::VolumeLevels(Mixer& mixer, SettingsStore& settings, CdDevice& cd,
                           WavePlayer& player, ControlTones& tones, VoiceCues& cues,
                           Clock& clock, MessageBoxes& messages)
    : mMixer(mixer)
    , mSettings(settings)
    , mCd(cd)
    , mPlayer(player)
    , mTones(tones)
    , mCues(cues)
    , mClock(clock)
    , mMessages(messages)
    , mMusicCaption(kTestCaption)
{
}

VolumeLevels::LoadStatus VolumeLevels::Form_Load()
{
    mLoaded = true;
    mTesting = false;
    mMusicCaption = kTestCaption;
    mHasMixer = mMixer.isOpen() || mMixer.open();
    mFrameEnabled = mHasMixer;
    mTestEnabled.fill(mHasMixer);
    for (Slider& s : mSliders)
        s.enabled = mHasMixer;
    if (!mHasMixer) {
        changed();
        mMessages.show(kNoMixerText, MessageBoxes::Icon::Information);
        return LoadStatus::NoMixer;
    }

    // The mixer's values are twice the slider's, so the range fits 16 bits.
    const int minimum = static_cast<int>(std::min<unsigned>(mMixer.minimum(), INT_MAX));
    const int maximum = std::max(minimum, static_cast<int>(mMixer.maximum() / 2));
    for (Slider& s : mSliders) {
        s.minimum = minimum;
        s.maximum = maximum;
    }
    set(Level::Main, static_cast<int>(mMixer.volume() / 2));
    apply(Level::Main);
    set(Level::Tone, storedLevel(kToneKey));
    apply(Level::Tone);
    set(Level::Music, storedLevel(kMusicKey));
    apply(Level::Music);
    set(Level::Voice, storedLevel(kVoiceKey));
    apply(Level::Voice);
    apply(Level::Main);
    changed();

    if (muteQuestionNeeded())
        answerMuteQuestion(mMessages.show(kMuteQuestion, MessageBoxes::Icon::Question,
                                          MessageBoxes::Buttons::YesNo)
                           == MessageBoxes::Answer::Yes);
    return LoadStatus::Ready;
}

bool VolumeLevels::muteQuestionNeeded() const
{
    return mHasMixer && mMixer.isMuted();
}

void VolumeLevels::answerMuteQuestion(bool unmute)
{
    if (unmute && mHasMixer)
        mMixer.setMuted(false);
}

int VolumeLevels::defaultLevel() const
{
    return static_cast<int>(roundHalfEven(0.9 * mSliders[index(Level::Main)].maximum));
}

void VolumeLevels::setValue(Level level, int value)
{
    if (!ensureReady())
        return;
    set(level, value);
    if (!mRunning || level == mInForce)
        apply(level);
    changed();
}

void VolumeLevels::setRunMode(bool running)
{
    if (running == mRunning)
        return;
    mRunning = running;
    // A test still sounding gives way to the run: its next steps are dropped.
    if (running && mTesting)
        endTest();
    changed();
}

void VolumeLevels::runTest(Level level, const std::function<void()>& play)
{
    if (mRunning || !ensureReady() || mTesting)
        return;
    // The tested level's slider stays live, so it can be changed while the sound plays.
    mTesting = true;
    ++mTest;
    stopCd();
    isolate(level);
    apply(level);
    changed();
    play();
}

void VolumeLevels::endTest()
{
    mTesting = false;
    enableAll();
    apply(Level::Main);
    changed();
}

void VolumeLevels::afterTest(qint64 ms, std::function<void()> step)
{
    // A step of a test the user has since left (a run began) is dropped.
    mClock.callAfter(ms, [alive = std::weak_ptr<const int>(mAlive), test = mTest, this,
                                 step = std::move(step)] {
        if (!alive.expired() && mTesting && test == mTest)
            step();
    });
}

void VolumeLevels::cmdAWvolume_Click()
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

void VolumeLevels::cmdCueVolume_Click()
{
    runTest(Level::Voice, [this] {
        mPlayer.startFile(mCues.clipPath(QStringLiteral("getready")),
                          [alive = std::weak_ptr<const int>(mAlive), test = mTest, this](WavePlayer::Result) {
                              if (!alive.expired() && mTesting && test == mTest)
                                  endTest();
                          });
    });
}

void VolumeLevels::cmdCDvolume_Click()
{
    if (mRunning || !ensureReady() || mTesting)
        return;
    if (mMusicCaption == kStopCaption) {
        mCd.sendCommand(QStringLiteral("stop cdaudio"));
        mMusicCaption = kTestCaption;
        enableAll();
        apply(Level::Main);
        changed();
        return;
    }

    mTesting = true;
    isolate(Level::Music);
    apply(Level::Music);
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
    apply(Level::Main);
    changed();
    mMessages.show(kNoCdText, MessageBoxes::Icon::Information);
}

void VolumeLevels::cmdDefaults_Click()
{
    if (mRunning || !ensureReady())
        return;
    stopCd();
    const int level = defaultLevel();
    for (Level l : {Level::Tone, Level::Voice, Level::Music}) {
        set(l, level);
        apply(l);
    }
    apply(Level::Main);
    changed();
}

void VolumeLevels::cmdAccept_Click()
{
    // Without a mixer the sliders hold nothing worth keeping: the stored levels stay.
    if (mRunning || !ensureReady())
        return;
    const auto store = [this](const char* key, Level level) {
        mSettings.SaveSetting(kAppName, kSection, QLatin1String(key),
                              QString::number(mSliders[index(level)].value));
    };
    store(kToneKey, Level::Tone);
    store(kMusicKey, Level::Music);
    store(kVoiceKey, Level::Voice);
    stopCd();
    apply(Level::Main);
    changed();
}

void VolumeLevels::cmdCancel_Click()
{
    if (mRunning || !ensureReady())
        return;
    stopCd();
    set(Level::Tone, storedLevel(kToneKey));
    apply(Level::Tone);
    set(Level::Music, storedLevel(kMusicKey));
    apply(Level::Music);
    set(Level::Voice, storedLevel(kVoiceKey));
    apply(Level::Voice);
    apply(Level::Main);
    changed();
}

void VolumeLevels::Form_Unload()
{
    // During a run the window only goes out of sight: the run's levels and music stay.
    if (!mLoaded || mRunning)
        return;
    stopCd();
    // A slider moved last left its level in force; the next load reads the main
    // level from the mixer, so it must find the main level there.
    apply(Level::Main);
    mLoaded = false;
    changed();
}

bool VolumeLevels::ensureReady()
{
    if (!mLoaded)
        Form_Load();
    return mHasMixer;
}

void VolumeLevels::change(Level level)
{
    if (ensureReady())
        apply(level);
}

void VolumeLevels::apply(Level level)
{
    // A failing mixer call leaves the level as it was; nothing more can be done.
    mInForce = level;
    if (mHasMixer)
        mMixer.setVolume(static_cast<unsigned>(mSliders[index(level)].value) * 2u);
}

void VolumeLevels::set(Level level, int value)
{
    Slider& s = mSliders[index(level)];
    s.value = std::clamp(value, s.minimum, s.maximum);
}

int VolumeLevels::storedLevel(const char* key) const
{
    // Levels are stored as whole numbers; anything else (a hand-edited or damaged
    // entry) counts as no level stored.
    const QString text = mSettings.GetSetting(kAppName, kSection, QLatin1String(key)).trimmed();
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return defaultLevel();
    const Slider& main = mSliders[index(Level::Main)];
    return static_cast<int>(
        roundHalfEven(std::clamp(value, double(main.minimum), double(main.maximum))));
}

void VolumeLevels::stopCd()
{
    mCd.sendCommand(QStringLiteral("stop cdaudio"));
    mCd.sendCommand(QStringLiteral("close cdaudio"));
    // A music test ended this way gives the other levels back, as its Stop does.
    if (mMusicCaption == kStopCaption)
        enableAll();
    mMusicCaption = kTestCaption;
}

void VolumeLevels::isolate(Level level)
{
    // Only the level under test can be changed or tested while it plays.
    const std::pair<Level, Test> kinds[] = {
        {Level::Tone, Test::Tone}, {Level::Music, Test::Music}, {Level::Voice, Test::Voice}};
    for (const auto& [l, t] : kinds) {
        mSliders[index(l)].enabled = l == level;
        if (l != level)
            mTestEnabled[index(t)] = false;
    }
}

void VolumeLevels::enableAll()
{
    for (Slider& s : mSliders)
        s.enabled = true;
    mTestEnabled.fill(true);
}

qint64 VolumeLevels::msPastNextSecond() const
{
    // Past the whole second nearest to one second from now, on the monotonic clock
    // (a wall-clock timer that restarts at midnight would never get there).
    const qint64 until = static_cast<qint64>(roundHalfEven(mClock.tickMs() / 1000.0 + 1.0)) * 1000;
    return until + 1 - mClock.tickMs();
}

void VolumeLevels::changed()
{
    if (mOnChange)
        mOnChange();
}

} // namespace kntr
