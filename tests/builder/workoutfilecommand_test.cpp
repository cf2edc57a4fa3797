// kinetrova-cli wav and mp3: a workout file, music files and play lists in, a
// workout audio file out.

#include "../app/clirun.h"

#include "builder/mp3filebuilder.h"
#include "builder/mp3musiccheck.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavmusiccheck.h"
#include "files/asxplaylist.h"
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

class WorkoutFileCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeFile(workoutFile(),
                              "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\n"
                              "Kilos\r\n10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n[segment settings]\r\n"
                              "1\t3\t1\t30\r\n2\t6\t2.5\t12\r\n\r\n[playlist]\r\n\r\n\r\n\r\n"));
        ASSERT_TRUE(writeFile(mDir.filePath("a.mp3"), mp3Frames(500, 1)));
        ASSERT_TRUE(writeFile(mDir.filePath("b.mp3"), mp3Frames(2000, 2)));
        ASSERT_TRUE(writeFile(mDir.filePath("bad.mp3"), QByteArray(900, 'x')));
        ASSERT_TRUE(writeFile(mDir.filePath("a.wav"), wavHeader(5 * 176400) + musicSamples(5 * 176400, 3)));
        ASSERT_TRUE(writeFile(mDir.filePath("b.wav"), wavHeader(9 * 176400) + musicSamples(9 * 176400, 4)));
        // Relative entries are taken from the list's folder.
        ASSERT_TRUE(AsxPlayList::write(mDir.filePath("list.asx"),
                                       {"a.mp3", mDir.filePath("a.wav"), "bad.mp3", mDir.filePath("b.wav")}));
    }
    CliRun run(const QStringList& args) { return runCliCaptured(args, mSettings, mPaths); }
    /// The workout of workoutFile(), as its machine block makes it.
    static Workout fileWorkout()
    {
        Workout workout;
        workout.setCount(2);
        workout.segment(1).setSegmentSpeed(3);
        workout.segment(1).setSegmentIncline(1);
        workout.segment(1).setSegmentTime(30);
        workout.segment(2).setSegmentSpeed(6);
        workout.segment(2).setSegmentIncline(2.5);
        workout.segment(2).setSegmentTime(12);
        return workout;
    }
    static Machine treadmill()
    {
        Machine machine;
        machine.setMachineType("Treadmill");
        return machine;
    }
    QString workoutFile() const { return mDir.filePath("w.txt"); }
    QString out(const char* name = "out.mp3") const { return mDir.filePath(name); }

    QTemporaryDir mDir;
    MemorySettingsStore mSettings;
    AppPaths mPaths{QStringLiteral(KNTR_VOICECUE_DIR "/.."), QStringLiteral("/user")};
};

TEST_F(WorkoutFileCommand, WavWritesTheFileTheBuilderMakesForTheWorkoutAndOptions)
{
    const QString song = mDir.filePath("song.wav");
    ASSERT_TRUE(writeFile(song, wavHeader(20 * 176400) + musicSamples(20 * 176400, 7)));
    const CliRun r = run({"wav", workoutFile(), "-o", out("out.wav"), "--music", song, "--music", song,
                          "--beeps", "2", "--cues", "on"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              out("out.wav") + ": " + QString::number(QFileInfo(out("out.wav")).size())
                  + " bytes, stereo, 2 segments\n");

    // The same build straight through the builder: the file's machine and units.
    WaveBuildOptions options;
    options.beeps = 2;
    options.units = Units::Kilometres;
    const MusicEntry entry = WavMusicCheck::check(song).entry;
    const QString expected = mDir.filePath("expected.wav");
    ASSERT_EQ(WaveFileBuilder(fileWorkout(), treadmill(), options, {entry, entry},
                              QStringLiteral(KNTR_VOICECUE_DIR))
                  .build(expected)
                  .outcome,
              WaveBuildResult::Outcome::Written);
    EXPECT_EQ(readWhole(out("out.wav")), readWhole(expected));

    const CliRun mono = run({"wav", workoutFile(), "-o", out("out.wav"), "--mono", "--cues", "off"});
    ASSERT_EQ(mono.status, 0) << mono.err.toStdString();
    EXPECT_TRUE(mono.out.endsWith(" bytes, mono, 2 segments\n")) << mono.out.toStdString();
}

TEST_F(WorkoutFileCommand, Mp3WritesTheFileTheBuilderMakesFromThePlayListAndMusic)
{
    const CliRun r = run({"mp3", workoutFile(), "-o", out(), "--playlist", mDir.filePath("list.asx"),
                          "--music", mDir.filePath("b.mp3"), "--beeps", "2", "--cues", "on"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out,
              out() + ": " + QString::number(QFileInfo(out()).size()) + " bytes, 128 kbit/s, 2 segments\n");
    // The other entries are passed over with a note each.
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli mp3: note: passed over " + mDir.filePath("a.wav")
                                 + ": not a .mp3 file\nkinetrova-cli mp3: note: passed over bad.mp3:\n"
                                   "If this is an MP3 file"))
        << r.err.toStdString();
    EXPECT_EQ(r.err.count("note: passed over"), 3);

    // The same build straight through the builder: the file's machine and units.
    const Workout workout = fileWorkout();
    const Machine machine = treadmill();
    Mp3BuildOptions options;
    options.beeps = 2;
    options.units = Units::Kilometres;
    const std::vector<MusicEntry> music = {Mp3MusicCheck::check(mDir.filePath("a.mp3")).entry,
                                           Mp3MusicCheck::check(mDir.filePath("b.mp3")).entry};
    const Mp3FileBuilder builder(workout, machine, options, music, QStringLiteral(KNTR_VOICECUE_DIR));
    ASSERT_EQ(builder.build(out("expected.mp3")).outcome, WaveBuildResult::Outcome::Written);
    EXPECT_EQ(readWhole(out()), readWhole(out("expected.mp3")));

    // Without music the bit rate is the option's: every silent frame 313 bytes.
    const CliRun plain = run({"mp3", workoutFile(), "-o", out(), "--bitrate", "96", "--cues", "off"});
    ASSERT_EQ(plain.status, 0) << plain.err.toStdString();
    EXPECT_TRUE(plain.out.endsWith(" bytes, 96 kbit/s, 2 segments\n")) << plain.out.toStdString();
    EXPECT_EQ(splitFrames(readWhole(out())).first(), Mp3Layout::QFrame(96));
}

TEST_F(WorkoutFileCommand, WavTakesTheWaveFilesOfThePlayList)
{
    ASSERT_EQ(
        run({"wav", workoutFile(), "-o", out("list.wav"), "--playlist", mDir.filePath("list.asx")}).status,
        0);
    ASSERT_EQ(run({"wav", workoutFile(), "-o", out("music.wav"), "--music", mDir.filePath("a.wav"), "--music",
                   mDir.filePath("b.wav")})
                  .status,
              0);
    EXPECT_EQ(readWhole(out("list.wav")), readWhole(out("music.wav")));
}

TEST_F(WorkoutFileCommand, RejectedMusicOrBadOptionsWriteNothing)
{
    struct Case {
        const char* command;
        QStringList args;
        int status;
        const char* err; // the start of stderr
    } cases[] = {
        {"mp3", {"--bitrate", "112"}, 2, "kinetrova-cli mp3: --bitrate takes 64, 96 or 128\n"},
        {"mp3", {"--cues", "maybe"}, 2, "kinetrova-cli mp3: --cues takes on or off\n"},
        {"mp3", {"--beeps", "3"}, 2, "kinetrova-cli mp3: --beeps takes 1 or 2\n"},
        {"mp3", {"--units", "furlongs"}, 2, "kinetrova-cli mp3: --units takes miles or km\n"},
        {"mp3", {"--music", mDir.filePath("a.wav")}, 1, "kinetrova-cli mp3: "},
        {"mp3",
         {"--playlist", mDir.filePath("none.asx")},
         1,
         "kinetrova-cli mp3: cannot read the play list "},
        {"wav", {"--cues", "maybe"}, 2, "kinetrova-cli wav: "},
        {"wav", {"--beeps", "3"}, 2, "kinetrova-cli wav: "},
        {"wav", {"--units", "furlongs"}, 2, "kinetrova-cli wav: "},
    };
    for (const Case& c : cases) {
        const QString target = out(c.command == QLatin1String("wav") ? "out.wav" : "out.mp3");
        const CliRun r = run(QStringList{c.command, workoutFile(), "-o", target} + c.args);
        EXPECT_EQ(r.status, c.status) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(c.err)) << r.err.toStdString();
    }
    for (const char* command : {"mp3", "wav"})
        EXPECT_EQ(run({command, workoutFile()}).status, 2) << command;

    // A music file that fails its check is reported with the check's lines.
    const QString mono = mDir.filePath("mono.wav");
    ASSERT_TRUE(writeFile(mono, wavHeader(400, 1, 44100, 16, 2, 88200) + QByteArray(400, '\1')));
    const CliRun r = run({"wav", workoutFile(), "-o", out("out.wav"), "--music", mono});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli wav: " + mono + ":\nFile is not compatible"))
        << r.err.toStdString();
    EXPECT_TRUE(
        r.err.endsWith("\n\nRecording is not in Stereo .\nRecording does not have 176400 bytes per second.\n"
                       "Recording is not equal to 2 channels * 16 bits/sample.\n"))
        << r.err.toStdString();
    EXPECT_FALSE(QFile::exists(out()));
    EXPECT_FALSE(QFile::exists(out("out.wav")));
}

} // namespace
