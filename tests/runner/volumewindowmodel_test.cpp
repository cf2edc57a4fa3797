#include "volumerig.h"

#include "recordingmediaplayer.h"

#include <gtest/gtest.h>

using namespace kntr;
using Level = SoundLevel;
using Check = VolumeWindowModel::Test;

namespace {

class VolumeWindowModelTest : public ::testing::Test, protected test::VolumeRig {
protected:
    /// The master volume levels set, in order, since the last call.
    std::vector<unsigned> volumesSet()
    {
        std::vector<unsigned> out;
        for (size_t i = mSeen; i < mixer.changes().size(); ++i)
            if (mixer.changes()[i].what == "volume")
                out.push_back(mixer.changes()[i].value);
        mSeen = mixer.changes().size();
        return out;
    }
    QString stored(const char* key) { return settings.GetSetting("Kinetrova", "Audio", key); }

private:
    size_t mSeen = 0;
};

} // namespace

TEST_F(VolumeWindowModelTest, FirstSwitchLoadsHalvedRangeAndDefaultsAndEndsAtMain)
{
    sound.useLevel(SoundLevel::Tone);
    EXPECT_EQ(levels.slider(Level::Main).maximum, 32767);
    EXPECT_EQ(levels.slider(Level::Main).value, 20000);
    EXPECT_EQ(levels.slider(Level::Voice).value, 29490);
    // main, tone, music, voice, main again; then the tone level that was asked for
    EXPECT_EQ(volumesSet(), (std::vector<unsigned>{40000, 58980, 58980, 58980, 40000, 58980}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(VolumeWindowModelTest, StoredLevelsAreReadSafely)
{
    const struct {
        const char* text;
        int level;
    } cases[] = {{"12000", 12000}, {" 100 ", 100}, {"loud", 29490}, {"", 29490},
                 {"40000", 32767}, {"-5", 0},      {"1e12", 32767}};
    for (const auto& c : cases) {
        settings.SaveSetting("Kinetrova", "Audio", "Chirp", c.text);
        levels.load();
        EXPECT_EQ(levels.slider(Level::Tone).value, c.level) << c.text;
    }
}

TEST_F(VolumeWindowModelTest, WithoutMixerNothingHappensAndNothingIsStored)
{
    mixer.setAvailable(false);
    settings.SaveSetting("Kinetrova", "Audio", "Chirp", "777");
    sound.useLevel(SoundLevel::Main);
    levels.setValue(Level::Tone, 5);
    levels.testTone();
    levels.testMusic();
    levels.accept();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, SoundLevels::kNoMixerText);
    EXPECT_FALSE(levels.frameEnabled());
    EXPECT_FALSE(levels.testEnabled(Check::Music));
    EXPECT_TRUE(volumesSet().empty());
    EXPECT_TRUE(player.calls().empty());
    EXPECT_TRUE(cd.sent().empty());
    EXPECT_EQ(stored("Chirp"), "777");
}

TEST_F(VolumeWindowModelTest, MuteIsSwitchedOffOnlyOnYes)
{
    for (const auto answer : {MessageBoxes::Answer::No, MessageBoxes::Answer::Yes}) {
        mixer.preset(40000, true);
        messages.script(answer);
        levels.load();
        EXPECT_EQ(messages.shown().back().buttons, MessageBoxes::Buttons::YesNo);
        EXPECT_EQ(mixer.isMuted(), answer == MessageBoxes::Answer::No);
    }
}

TEST_F(VolumeWindowModelTest, CancelRestoresStoredLevelsAcceptStoresThem)
{
    settings.SaveSetting("Kinetrova", "Audio", "Chirp", "10000");
    levels.setValue(Level::Tone, 20000);
    volumesSet();
    levels.cancel();
    EXPECT_EQ(levels.slider(Level::Tone).value, 10000);
    EXPECT_EQ(volumesSet().back(), 40000u);
    EXPECT_EQ(cd.commands(), QStringList({"stop cdaudio", "close cdaudio"}));

    levels.setValue(Level::Music, 123);
    levels.restoreDefaults();
    EXPECT_EQ(levels.slider(Level::Music).value, 29490);
    EXPECT_EQ(stored("AltAudio"), "");
    EXPECT_EQ(mixer.level(), 40000u);
    levels.setValue(Level::Voice, 300);
    levels.accept();
    EXPECT_EQ(stored("Chirp"), "29490");
    EXPECT_EQ(stored("VoiceCue"), "300");
    EXPECT_EQ(mixer.level(), 40000u);
}

TEST_F(VolumeWindowModelTest, ToneTestPlaysTwoTonesOnWholeSecondsThenMain)
{
    // The second tone and the return to main come once the clock is past the
    // whole second nearest to one second after each tone.
    const struct {
        qint64 startMs;
        qint64 secondMs, mainMs;
    } cases[] = {{0, 1001, 2001}, {600, 2001, 3001}, {1500, 2001, 3001}};
    for (const auto& c : cases) {
        ManualClock t;
        FakeMixer m{t};
        m.preset(40000, false);
        RecordingWavePlayer p{t};
        SoundLevels levelsOnM{m, settings, messages};
        VolumeWindowModel l{levelsOnM, cd, p, tones, cues, t, messages};
        l.load();
        t.advance(c.startMs);
        l.testTone();
        t.runUntil([] { return false; }); // to the test's end
        ASSERT_EQ(p.calls().size(), 2u);
        EXPECT_EQ(p.calls()[0].atMs, c.startMs);
        EXPECT_EQ(p.calls()[1].atMs, c.secondMs);
        EXPECT_FALSE(p.calls()[1].wait);
        EXPECT_EQ(p.calls()[1].image, tones.MakeControlTone(10, 10, false));
        EXPECT_EQ(m.changes().back().atMs, c.mainMs);
        EXPECT_EQ(m.level(), 40000u);
        EXPECT_TRUE(l.testEnabled(Check::Voice));
    }
}

TEST_F(VolumeWindowModelTest, VoiceAndMusicTestsEndAtMain)
{
    levels.load();
    volumesSet();
    levels.testVoice();
    clock.runUntil([this] { return levels.testEnabled(Check::Tone); });
    EXPECT_EQ(player.clipNames(), QStringList({"getready"}));
    EXPECT_EQ(volumesSet(), (std::vector<unsigned>{58980, 40000}));

    levels.testMusic();
    EXPECT_EQ(levels.musicTestCaption(), "&Stop");
    EXPECT_TRUE(cd.playing());
    EXPECT_FALSE(levels.slider(Level::Tone).enabled);
    // Accept ends the music test and gives the other levels back.
    levels.accept();
    EXPECT_EQ(levels.musicTestCaption(), "Te&st");
    EXPECT_TRUE(levels.slider(Level::Tone).enabled);

    cd.setDiscPresent(false);
    levels.testMusic();
    EXPECT_EQ(messages.shown().back().text, VolumeWindowModel::kNoCdText);
    EXPECT_EQ(levels.musicTestCaption(), "Te&st");
    EXPECT_TRUE(levels.testEnabled(Check::Tone));
    EXPECT_EQ(mixer.level(), 40000u);
}

TEST_F(VolumeWindowModelTest, MusicTestWithAPlayListPlaysItsFirstEntryForFiveSeconds)
{
    RecordingMediaPlayer music{clock};
    music.scriptPlayList("/music/list.asx", {200.0, 180.0});
    QString playList = "/music/list.asx";
    levels.setPlayListMusic(music, [&playList] { return playList; });
    levels.load();
    volumesSet();

    const qint64 start = clock.tickMs();
    levels.testMusic();
    EXPECT_TRUE(music.isPlaying());
    EXPECT_EQ(music.currentEntry(), 1);
    EXPECT_FALSE(cd.playing());
    EXPECT_EQ(levels.musicTestCaption(), "&Stop");
    EXPECT_FALSE(levels.slider(Level::Tone).enabled);
    EXPECT_EQ(volumesSet(), std::vector<unsigned>{58980});
    clock.runUntil([&music] { return !music.isPlaying(); });
    EXPECT_EQ(clock.tickMs() - start, VolumeWindowModel::kPlayListTestMs);
    EXPECT_EQ(levels.musicTestCaption(), "Te&st");
    EXPECT_TRUE(levels.testEnabled(Check::Tone));
    EXPECT_EQ(volumesSet(), std::vector<unsigned>{40000});

    // Stop ends it early, and the test's timer then changes nothing.
    levels.testMusic();
    clock.advance(1000);
    levels.testMusic();
    EXPECT_FALSE(music.isPlaying());
    levels.testTone();
    clock.advance(VolumeWindowModel::kPlayListTestMs);
    EXPECT_FALSE(music.isPlaying());

    // A list with nothing to play names itself and the way out; the CD is left alone.
    clock.runUntil([this] { return levels.testEnabled(Check::Music); });
    playList = "/music/broken.asx";
    levels.testMusic();
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_TRUE(messages.shown().back().text.startsWith("The play list /music/broken.asx has no music"));
    EXPECT_TRUE(messages.shown().back().text.contains("Audio > Play list"));
    EXPECT_EQ(messages.shown().back().icon, MessageBoxes::Icon::Exclamation);
    EXPECT_EQ(levels.musicTestCaption(), "Te&st");
    EXPECT_FALSE(cd.playing());

    // Music from the CD: the CD test as before.
    playList.clear();
    levels.testMusic();
    EXPECT_TRUE(cd.playing());
}

TEST_F(VolumeWindowModelTest, DuringARunOnlyTheSlidersWorkAndOnlyTheLevelInForceIsHeard)
{
    levels.load();
    sound.setRunMode(true);
    sound.useLevel(SoundLevel::Music); // the run's music is playing
    volumesSet();
    const int cdCommands = cd.commands().size();
    const QString storedTone = stored("Chirp");

    levels.testTone();
    levels.testVoice();
    levels.testMusic();
    levels.restoreDefaults();
    levels.accept();
    levels.cancel();
    levels.unload();
    EXPECT_TRUE(player.calls().empty());
    EXPECT_EQ(cd.commands().size(), cdCommands);
    EXPECT_TRUE(volumesSet().empty());
    EXPECT_EQ(stored("Chirp"), storedTone);
    for (Check t : {Check::Tone, Check::Music, Check::Voice})
        EXPECT_FALSE(levels.testEnabled(t));
    EXPECT_FALSE(levels.buttonsEnabled());

    levels.setValue(Level::Tone, 1000); // kept for the next tone, not heard over the music
    EXPECT_TRUE(volumesSet().empty());
    levels.setValue(Level::Music, 2000);
    EXPECT_EQ(volumesSet(), std::vector<unsigned>{4000});
    sound.useLevel(SoundLevel::Tone);
    EXPECT_EQ(volumesSet(), std::vector<unsigned>{2000});

    sound.setRunMode(false);
    EXPECT_TRUE(levels.testEnabled(Check::Tone));
    EXPECT_TRUE(levels.buttonsEnabled());
}
