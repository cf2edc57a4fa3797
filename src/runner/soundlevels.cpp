#include "soundlevels.h"

#include "model/storedsettings.h"
#include "model/numbers.h"
#include "platform/messageboxes.h"
#include "platform/mixer.h"
#include "platform/settingsstore.h"

#include <QLocale>

#include <utility>

#include <algorithm>
#include <climits>
#include <cmath>

namespace kntr {

const QString SoundLevels::kNoMixerText =
    QStringLiteral("No mixer device was found. Kinetrova requires a\r"
                   "sound card to play controls sounds. Without a card\r"
                   "you can still view the program.");

const QString SoundLevels::kMuteQuestion =
    QStringLiteral("The Master Mute of the software Volume control on your \r"
                   "computer is turned off. You can run Kinetrova, but you\r"
                   "won't hear anything. Would like to UnMute it?");

namespace {

constexpr const char* kToneKey = "Chirp";
constexpr const char* kMusicKey = "AltAudio";
constexpr const char* kVoiceKey = "VoiceCue";

} // namespace

SoundLevels::SoundLevels(Mixer& mixer, SettingsStore& settings, MessageBoxes& messages)
    : mMixer(mixer)
    , mSettings(settings)
    , mMessages(messages)
{
}

bool SoundLevels::load()
{
    mLoaded = true;
    mHasMixer = mMixer.isOpen() || mMixer.open();
    if (!mHasMixer) {
        mMessages.show(kNoMixerText, MessageBoxes::Icon::Information);
        return false;
    }

    // The mixer's values are twice the levels, so the range fits 16 bits.
    mMinimum = static_cast<int>(std::min<unsigned>(mMixer.minimum(), INT_MAX));
    mMaximum = std::max(mMinimum, static_cast<int>(mMixer.maximum() / 2));
    set(SoundLevel::Main, static_cast<int>(mMixer.volume() / 2));
    apply(SoundLevel::Main);
    restoreStored();

    if (muteQuestionNeeded())
        answerMuteQuestion(
            mMessages.show(kMuteQuestion, MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo)
            == MessageBoxes::Answer::Yes);
    return true;
}

bool SoundLevels::ensureLoaded()
{
    if (!mLoaded)
        load();
    return mHasMixer;
}

void SoundLevels::unload()
{
    // A level moved last is in force; the next load reads the main level from
    // the mixer, so it must find the main level there.
    apply(SoundLevel::Main);
    mLoaded = false;
}

bool SoundLevels::muteQuestionNeeded() const
{
    return mHasMixer && mMixer.isMuted();
}

void SoundLevels::answerMuteQuestion(bool unmute)
{
    if (unmute && mHasMixer)
        mMixer.setMuted(false);
}

void SoundLevels::set(SoundLevel level, int value)
{
    mValues[index(level)] = std::clamp(value, mMinimum, mMaximum);
}

void SoundLevels::apply(SoundLevel level)
{
    // A failing mixer call leaves the level as it was; nothing more can be done.
    mInForce = level;
    if (mHasMixer)
        mMixer.setVolume(static_cast<unsigned>(mValues[index(level)]) * 2u);
}

int SoundLevels::defaultLevel() const
{
    return static_cast<int>(roundHalfEven(0.9 * mMaximum));
}

void SoundLevels::store()
{
    const auto save = [this](const char* key, SoundLevel level) {
        AudioSettings(mSettings).setLevel(QLatin1String(key), value(level));
    };
    save(kToneKey, SoundLevel::Tone);
    save(kMusicKey, SoundLevel::Music);
    save(kVoiceKey, SoundLevel::Voice);
}

void SoundLevels::restoreStored()
{
    set(SoundLevel::Tone, storedLevel(kToneKey));
    apply(SoundLevel::Tone);
    set(SoundLevel::Music, storedLevel(kMusicKey));
    apply(SoundLevel::Music);
    set(SoundLevel::Voice, storedLevel(kVoiceKey));
    apply(SoundLevel::Voice);
    apply(SoundLevel::Main);
}

void SoundLevels::restoreDefaults()
{
    const int level = defaultLevel();
    for (SoundLevel l : {SoundLevel::Tone, SoundLevel::Voice, SoundLevel::Music}) {
        set(l, level);
        apply(l);
    }
    apply(SoundLevel::Main);
}

void SoundLevels::useLevel(SoundLevel level)
{
    if (ensureLoaded())
        apply(level);
}

void SoundLevels::setRunMode(bool running)
{
    if (running == mRunning)
        return;
    mRunning = running;
    if (mOnRunMode)
        mOnRunMode(running);
}

int SoundLevels::storedLevel(const char* key) const
{
    // Levels are stored as whole numbers; anything else (a hand-edited or damaged
    // entry) counts as no level stored.
    const QString text = AudioSettings(std::as_const(mSettings)).levelText(QLatin1String(key)).trimmed();
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(value))
        return defaultLevel();
    return static_cast<int>(roundHalfEven(std::clamp(value, double(mMinimum), double(mMaximum))));
}

} // namespace kntr
