#pragma once

#include "levelswitch.h"

#include <QString>

#include <array>
#include <functional>

namespace kntr {

class MessageBoxes;
class Mixer;
class SettingsStore;

/// The four listening levels and the mixer they are put on: the main level,
/// and one each for the control tones, the music and the voice cues. A level v
/// stands for the mixer's master volume 2 × v, so the range fits a 16-bit slider.
///
/// The levels load on first use: the mixer opens, the main level comes from the
/// current volume and the other three from the settings. Without a mixer that
/// is said once and nothing is ever set.
class SoundLevels : public LevelSwitch {
public:
    static const QString kNoMixerText;
    static const QString kMuteQuestion;

    SoundLevels(Mixer& mixer, SettingsStore& settings, MessageBoxes& messages);

    /// Loads: opens the mixer (or says there is none), reads the levels, applies
    /// each and ends at the main level, then offers to switch the master mute
    /// off. Returns whether there is a mixer.
    bool load();
    bool isLoaded() const { return mLoaded; }
    /// Loads unless loaded; whether there is a mixer.
    bool ensureLoaded();
    bool hasMixer() const { return mHasMixer; }
    /// The levels are read again at the next use; the main level is put back first.
    void unload();

    /// Whether the master mute is on, so the user should be asked to switch it off.
    bool muteQuestionNeeded() const;
    /// The user's answer: Yes switches the master mute off.
    void answerMuteQuestion(bool unmute);

    int minimum() const { return mMinimum; }
    int maximum() const { return mMaximum; }
    int value(SoundLevel level) const { return mValues[index(level)]; }
    /// The level last put on the mixer.
    SoundLevel inForce() const { return mInForce; }
    /// Sets a level, kept within the range; the mixer is not touched.
    void set(SoundLevel level, int value);
    /// Puts a level on the mixer.
    void apply(SoundLevel level);
    /// The level a setting holds when none is stored: 0.9 × the maximum.
    int defaultLevel() const;

    /// Stores the tone, music and voice levels.
    void store();
    /// Puts the tone, music and voice levels back as stored, applying each,
    /// and ends at the main level.
    void restoreStored();
    /// Puts the tone, music and voice levels to the default, applying each,
    /// and ends at the main level. Nothing is stored.
    void restoreDefaults();

    // LevelSwitch
    /// Loads when needed and puts the level on the mixer.
    void useLevel(SoundLevel level) override;
    void setRunMode(bool running) override;
    bool running() const { return mRunning; }
    /// Told when a run begins or ends.
    void setRunModeHandler(std::function<void(bool)> handler) { mOnRunMode = std::move(handler); }

private:
    static constexpr int index(SoundLevel level) { return static_cast<int>(level); }
    int storedLevel(const char* key) const;

    Mixer& mMixer;
    SettingsStore& mSettings;
    MessageBoxes& mMessages;

    bool mLoaded = false;
    bool mHasMixer = false;
    bool mRunning = false;
    int mMinimum = 0;
    int mMaximum = 0;
    std::array<int, 4> mValues{};
    SoundLevel mInForce = SoundLevel::Main;
    std::function<void(bool)> mOnRunMode;
};

} // namespace kntr
