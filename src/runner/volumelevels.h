#pragma once

#include "levelswitch.h"

#include "platform/clock.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace kntr {

class CdDevice;
class Clock;
class ControlTones;
class MessageBoxes;
class Mixer;
class SettingsStore;
class VoiceCues;
class WavePlayer;

/// What the volume window holds and does, without widgets: the main level and
/// the three listening levels (control tone, music, voice cue) as slider values,
/// the tests that let the user hear each level, and Accept, Cancel and Default
/// Settings. A slider value v stands for the mixer's master volume 2 × v, so
/// the range fits a 16-bit slider.
///
/// It loads on first use of any handler: it opens the mixer, takes the main level
/// from the current volume and the other three from the settings. Without a
/// mixer it says so once and every handler does nothing.
class VolumeLevels : public LevelSwitch
{
public:
    static const QString kCaption;
    static const QString kNoMixerText;
    static const QString kMuteQuestion;
    static const QString kNoCdText;
    static const QString kTestCaption;  ///< music test idle: "Te&st"
    static const QString kStopCaption;  ///< music test playing: "&Stop"

    using Level = SoundLevel;
    enum class Test { Tone, Music, Voice };
    enum class LoadStatus { Ready, NoMixer };

    struct Slider
    {
        int minimum = 0;
        int maximum = 0;
        int value = 0;
        bool enabled = true;
    };

    VolumeLevels(Mixer& mixer, SettingsStore& settings, CdDevice& cd, WavePlayer& player,
                 ControlTones& tones, VoiceCues& cues, Clock& clock, MessageBoxes& messages);

    /// Loads: opens the mixer (or shows that there is none), fills the sliders,
    /// ends at the main level and offers to switch the master mute off.
    LoadStatus Form_Load();
    bool isLoaded() const { return mLoaded; }
    /// Whether a mixer was found at loading.
    bool hasMixer() const { return mHasMixer; }

    /// Whether the master mute is on, so the user should be asked to switch it off.
    bool muteQuestionNeeded() const;
    /// The user's answer: Yes switches the master mute off.
    void answerMuteQuestion(bool unmute);

    const Slider& slider(Level level) const { return mSliders[index(level)]; }
    bool testEnabled(Test test) const { return mTestEnabled[index(test)] && !mRunning; }
    /// Whether Default Settings, Accept and Cancel can be used: not during a run.
    bool buttonsEnabled() const { return !mRunning; }
    /// Whether the frame of the sliders is usable (not without a mixer).
    bool frameEnabled() const { return mFrameEnabled; }
    const QString& musicTestCaption() const { return mMusicCaption; }
    /// The level a setting holds when none is stored: 0.9 × the sliders' maximum.
    int defaultLevel() const;

    /// The user moves a slider: the value, kept in range, is applied at once.
    void setValue(Level level, int value);

    /// LevelSwitch: sets the master volume to the level's slider value × 2.
    void useLevel(Level level) override { change(level); }
    /// During a run nothing here may reach the console or the music: the tests,
    /// Default Settings, Accept and Cancel do nothing, and closing the window
    /// only hides it. The sliders stay live; moving the one whose level is in
    /// force changes the sound at once, the others take effect when next used.
    void setRunMode(bool running) override;

    /// Tone test: two control tones a second apart at the tone level.
    void cmdAWvolume_Click();
    /// Voice test: "getready" at the voice level.
    void cmdCueVolume_Click();
    /// Music test: starts the CD at the music level, or stops it.
    void cmdCDvolume_Click();
    /// Puts the three levels to their default; nothing is stored.
    void cmdDefaults_Click();
    /// Stores the three levels and returns to the main level; the window then hides.
    void cmdAccept_Click();
    /// Puts the three levels back as stored and returns to the main level; the
    /// window then hides.
    void cmdCancel_Click();
    /// The window is closed: the CD stops, the main level returns, and the next use
    /// loads afresh from the settings.
    void Form_Unload();

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }

private:
    static constexpr int index(Level level) { return static_cast<int>(level); }
    static constexpr int index(Test test) { return static_cast<int>(test); }

    bool ensureReady();
    void change(Level level);
    void apply(Level level);
    void set(Level level, int value);
    int storedLevel(const char* key) const;
    void stopCd();
    void isolate(Level level);
    /// A test button: only the tested level live and applied from play() on,
    /// until the test's last step calls endTest().
    void runTest(Level level, const std::function<void()>& play);
    void endTest();
    /// Calls step after ms, unless the test has ended meanwhile.
    void afterTest(qint64 ms, std::function<void()> step);
    void enableAll();
    /// Milliseconds until just past the whole second nearest to one second from now.
    qint64 msPastNextSecond() const;
    void changed();

    Mixer& mMixer;
    SettingsStore& mSettings;
    CdDevice& mCd;
    WavePlayer& mPlayer;
    ControlTones& mTones;
    VoiceCues& mCues;
    Clock& mClock;
    MessageBoxes& mMessages;

    bool mLoaded = false;
    bool mHasMixer = false;
    bool mTesting = false;
    bool mRunning = false;
    quint64 mTest = 0; ///< counts tests, so a step of an ended one is dropped
    std::shared_ptr<const int> mAlive = std::make_shared<const int>(0);
    Level mInForce = Level::Main; ///< the level last applied
    std::array<Slider, 4> mSliders{};
    std::array<bool, 3> mTestEnabled{true, true, true};
    bool mFrameEnabled = true;
    QString mMusicCaption;
    std::function<void()> mOnChange;
};

} // namespace kntr
