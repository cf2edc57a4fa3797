#pragma once

#include "soundlevels.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

namespace kntr {

class CdDevice;
class Clock;
class ControlTones;
class MediaPlayer;
class MessageBoxes;
class VoiceCues;
class WavePlayer;

/// What the volume window holds and does, without widgets: a slider for each
/// of the sound levels, the tests that let the user hear each level, and
/// Accept, Cancel and Default Settings.
///
/// It loads on first use of any action, with the levels. Without a mixer
/// every action does nothing.
class VolumeWindowModel {
public:
    static const QString kCaption;
    static const QString kNoCdText;
    static const QString kTestCaption; ///< music test idle: "Te&st"
    static const QString kStopCaption; ///< music test playing: "&Stop"
    /// How long the music test plays a play list's first entry.
    static constexpr qint64 kPlayListTestMs = 5000;

    /// The play list the music test plays when the run's music is a play list;
    /// empty when the music comes from the CD.
    using PlayListSource = std::function<QString()>;

    using Level = SoundLevel;
    enum class Test { Tone, Music, Voice };
    enum class LoadStatus { Ready, NoMixer };

    struct Slider {
        int minimum = 0;
        int maximum = 0;
        int value = 0;
        bool enabled = true;
    };

    VolumeWindowModel(SoundLevels& levels, CdDevice& cd, WavePlayer& player, ControlTones& tones,
                      VoiceCues& cues, Clock& clock, MessageBoxes& messages);
    ~VolumeWindowModel();
    VolumeWindowModel(const VolumeWindowModel&) = delete;
    VolumeWindowModel& operator=(const VolumeWindowModel&) = delete;

    /// Loads: the levels (which say when there is no mixer or the mute is on)
    /// and what the window shows.
    LoadStatus load();
    bool isLoaded() const { return mLevels.isLoaded(); }

    Slider slider(Level level) const;
    bool testEnabled(Test test) const
    {
        return mTestEnabled[index(test)] && frameEnabled() && !mLevels.running();
    }
    /// Whether Default Settings, Accept and Cancel can be used: not during a run.
    bool buttonsEnabled() const { return !mLevels.running(); }
    /// Whether the frame of the sliders is usable (not without a mixer).
    bool frameEnabled() const { return !mLevels.isLoaded() || mLevels.hasMixer(); }
    const QString& musicTestCaption() const { return mMusicCaption; }

    /// The user moves a slider: the value, kept in range, is applied at once.
    /// During a run only the level in force is applied; the others take effect
    /// when next used.
    void setValue(Level level, int value);

    /// Tone test: two control tones a second apart at the tone level.
    void testTone();
    /// Voice test: "getready" at the voice level.
    void testVoice();
    /// Music test: starts the music at the music level, or stops it. With a
    /// play list as the run's music its first entry plays for kPlayListTestMs,
    /// else the CD plays until stopped.
    void testMusic();
    /// The player and play list the music test uses when the run's music is a
    /// play list; without them the test always plays the CD.
    void setPlayListMusic(MediaPlayer& player, PlayListSource playList);
    /// Puts the three levels to their default; nothing is stored.
    void restoreDefaults();
    /// Stores the three levels and returns to the main level; the window then hides.
    void accept();
    /// Puts the three levels back as stored and returns to the main level; the
    /// window then hides.
    void cancel();
    /// The window is closed: the CD stops, the main level returns, and the next use
    /// loads afresh from the settings. During a run the window only hides.
    void unload();

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }

private:
    static constexpr int index(Level level) { return static_cast<int>(level); }
    static constexpr int index(Test test) { return static_cast<int>(test); }

    bool ensureReady();
    /// During a run nothing here may reach the console or the music: a test
    /// still sounding gives way.
    void runModeChanged(bool running);
    void stopCd();
    void testPlayList(const QString& path);
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

    SoundLevels& mLevels;
    CdDevice& mCd;
    WavePlayer& mPlayer;
    ControlTones& mTones;
    VoiceCues& mCues;
    Clock& mClock;
    MessageBoxes& mMessages;
    MediaPlayer* mMusicPlayer = nullptr;
    PlayListSource mPlayList;

    bool mTesting = false;
    bool mListPlaying = false; ///< the music test plays the play list
    quint64 mTest = 0; ///< counts tests, so a step of an ended one is dropped
    std::shared_ptr<const int> mAlive = std::make_shared<const int>(0);
    std::array<bool, 4> mSliderEnabled{true, true, true, true};
    std::array<bool, 3> mTestEnabled{true, true, true};
    QString mMusicCaption;
    std::function<void()> mOnChange;
};

} // namespace kntr
