// The builder's figures and texts before a build, and its stored preferences.

#include "builder/buildestimate.h"
#include "builder/recordingpreferences.h"

#include "model/workout.h"
#include "platform/memorysettingsstore.h"

#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

TEST(BuildEstimate, SizeFollowsChannelsAndMusicMakesStereo)
{
    Workout workout;
    workout.setCount(2);
    workout.segment(1).setSegmentTime(60);
    workout.segment(2).setSegmentTime(240);
    EXPECT_EQ(BuildEstimate::totalSeconds(workout), 300.0f);
    EXPECT_EQ(BuildEstimate::wavSize(workout, true, false), 52920000);
    EXPECT_EQ(BuildEstimate::wavSize(workout, false, false), 26460000);
    EXPECT_EQ(BuildEstimate::wavSize(workout, false, true), 52920000);
    // Sixty hours would not fit 32 bits.
    workout.setCount(60);
    for (int k = 1; k <= 60; ++k)
        workout.segment(k).setSegmentTime(3600);
    EXPECT_EQ(BuildEstimate::wavSize(workout, true, false), 216000LL * 176400);
}

TEST(BuildEstimate, StatusTexts)
{
    EXPECT_EQ(BuildEstimate::sizeText(999999), QStringLiteral("999,999 bytes"));
    EXPECT_EQ(BuildEstimate::sizeText(1000000), QStringLiteral("1,000,000 bytes"));
    EXPECT_EQ(BuildEstimate::sizeText(52920000), QStringLiteral("53 Mbytes"));
    EXPECT_EQ(BuildEstimate::sizeText(2500000), QStringLiteral("2 Mbytes"));
    EXPECT_EQ(BuildEstimate::sizeText(1234567890123), QStringLiteral("1,234,568 Mbytes"));
    EXPECT_EQ(BuildEstimate::fileInfoText(QStringLiteral("/w/a.wav"), 52920000),
              QStringLiteral("File Name: /w/a.wav\rWorkout File Size: about 53 Mbytes"));

    EXPECT_EQ(BuildEstimate::musicCoverageText(true, 3, 5, 0, 1), QStringLiteral("3 of 5 segments assigned"));
    EXPECT_EQ(BuildEstimate::musicCoverageText(true, 7, 5, 0, 1),
              QStringLiteral("5 of 5 segments assigned, plus 2 extra"));
    EXPECT_EQ(BuildEstimate::musicCoverageText(false, 2, 5, 29, 100),
              QStringLiteral("Play list is 29% of workout."));
    EXPECT_EQ(BuildEstimate::musicCoverageText(false, 2, 5, 1800, 1200),
              QStringLiteral("Play list is 150% of workout."));

    const auto wav = WorkoutFileType::Wav;
    EXPECT_EQ(BuildEstimate::outputPath({}, QStringLiteral("/w/run.txt"), wav), QStringLiteral("/w/run.wav"));
    EXPECT_EQ(BuildEstimate::outputPath({}, {}, WorkoutFileType::Mp3), QStringLiteral("untitled.mp3"));
    EXPECT_EQ(BuildEstimate::outputPath(QStringLiteral("/o/x.mp3"), QStringLiteral("/w/run.txt"), wav),
              QStringLiteral("/o/x.wav"));
}

TEST(RecordingPreferences, ReadWithDefaultsAndStore)
{
    MemorySettingsStore settings;
    RecordingPreferences p = RecordingPreferences::read(settings);
    EXPECT_TRUE(p.voiceCues);
    EXPECT_FALSE(p.oneFilePerSegment);
    EXPECT_TRUE(p.stereo);
    EXPECT_EQ(p.mp3BitRate, 128);
    EXPECT_EQ(p.beeps, 1);

    settings.SaveSetting(kAppName, QStringLiteral("options"), QStringLiteral("VoiceCues"),
                         QStringLiteral("0"));
    settings.SaveSetting(kAppName, QStringLiteral("options"), QStringLiteral("Beeps"), QStringLiteral("2"));
    settings.SaveSetting(kAppName, QStringLiteral("RecordPref"), QStringLiteral("MP3BitRate"),
                         QStringLiteral("7"));
    p = RecordingPreferences::read(settings, 96);
    EXPECT_FALSE(p.voiceCues);
    EXPECT_EQ(p.beeps, 2);
    EXPECT_EQ(p.mp3BitRate, 96) << "a choice outside 0 to 2 keeps the bit rate";

    p.oneFilePerSegment = true;
    p.stereo = false;
    p.mp3BitRate = 64;
    p.save(settings);
    EXPECT_EQ(settings.GetSetting(kAppName, QStringLiteral("RecordPref"), QStringLiteral("OneFilePerSeg")),
              "1");
    EXPECT_EQ(settings.GetSetting(kAppName, QStringLiteral("RecordPref"), QStringLiteral("WaveType")), "0");
    EXPECT_EQ(settings.GetSetting(kAppName, QStringLiteral("RecordPref"), QStringLiteral("MP3BitRate")), "0");
    const RecordingPreferences back = RecordingPreferences::read(settings);
    EXPECT_TRUE(back.oneFilePerSegment);
    EXPECT_FALSE(back.stereo);
    EXPECT_EQ(back.mp3BitRate, 64);
}

} // namespace
