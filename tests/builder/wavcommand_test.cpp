// kinetrova-cli wav: a workout file and music files in, a WAV workout file out.

#include "../app/clirun.h"

#include "builder/wavefilebuilder.h"
#include "builder/wavmusiccheck.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"

#include "testenv.h"
#include "testmusic.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;
using namespace kntr::test;

namespace {

class WavCommand : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeFile(workoutFile(), "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\n"
                                             "Kilos\r\n10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n[segment settings]\r\n"
                                             "1\t3\t1\t30\r\n2\t6\t2.5\t12\r\n\r\n[playlist]\r\n\r\n\r\n\r\n"));
    }
    CliRun run(const QStringList& args) { return runCliCaptured(QStringList{"wav"} + args, mSettings, mPaths); }
    QString workoutFile() const { return mDir.filePath("w.txt"); }
    QString out() const { return mDir.filePath("out.wav"); }

    QTemporaryDir mDir;
    MemorySettingsStore mSettings;
    AppPaths mPaths{QStringLiteral(KNTR_VOICECUE_DIR "/.."), QStringLiteral("/user")};
};

TEST_F(WavCommand, WritesTheFileTheBuilderMakesForTheWorkoutAndOptions)
{
    const QString song = mDir.filePath("song.wav");
    ASSERT_TRUE(writeFile(song, wavHeader(20 * 176400) + musicSamples(20 * 176400, 7)));
    const CliRun r = run({workoutFile(), "-o", out(), "--music", song, "--music", song, "--beeps", "2",
                          "--cues", "on"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, out() + ": " + QString::number(QFileInfo(out()).size()) + " bytes, stereo, 2 segments\n");

    // The same build straight through the builder: the file's machine and units.
    Machine machine;
    machine.setMachineType("Treadmill");
    Workout workout;
    workout.setCount(2);
    workout.segment(1).setSegmentSpeed(3);
    workout.segment(1).setSegmentIncline(1);
    workout.segment(1).setSegmentTime(30);
    workout.segment(2).setSegmentSpeed(6);
    workout.segment(2).setSegmentIncline(2.5);
    workout.segment(2).setSegmentTime(12);
    WaveBuildOptions options;
    options.beeps = 2;
    options.units = Units::Kilometres;
    const MusicEntry entry = WavMusicCheck::check(song).entry;
    const QString expected = mDir.filePath("expected.wav");
    ASSERT_EQ(WaveFileBuilder(workout, machine, options, {entry, entry}, QStringLiteral(KNTR_VOICECUE_DIR))
                  .build(expected)
                  .outcome,
              WaveBuildResult::Outcome::Written);
    EXPECT_EQ(readWhole(out()), readWhole(expected));

    const CliRun mono = run({workoutFile(), "-o", out(), "--mono", "--cues", "off"});
    ASSERT_EQ(mono.status, 0) << mono.err.toStdString();
    EXPECT_TRUE(mono.out.endsWith(" bytes, mono, 2 segments\n")) << mono.out.toStdString();
}

TEST_F(WavCommand, RejectedMusicOrBadOptionsWriteNothing)
{
    const QString mono = mDir.filePath("mono.wav");
    ASSERT_TRUE(writeFile(mono, wavHeader(400, 1, 44100, 16, 2, 88200) + QByteArray(400, '\1')));
    CliRun r = run({workoutFile(), "-o", out(), "--music", mono});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli wav: " + mono + ":\nFile is not compatible")) << r.err.toStdString();
    EXPECT_TRUE(r.err.endsWith("\n\nRecording is not in Stereo .\nRecording does not have 176400 bytes per second.\n"
                               "Recording is not equal to 2 channels * 16 bits/sample.\n"))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out()));

    for (const QStringList& bad : {QStringList{"--cues", "maybe"}, QStringList{"--beeps", "3"},
                                   QStringList{"--units", "furlongs"}, QStringList{}}) {
        r = run(QStringList{workoutFile()} + (bad.isEmpty() ? QStringList{} : QStringList{"-o", out()}) + bad);
        EXPECT_EQ(r.status, 2) << bad.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(out()));
}

} // namespace
