// The control tones of built workout files read back: every boundary with its
// values, in WAV and after an MP3 round trip, and kinetrova-cli decode.

#include "../app/clirun.h"

#include "builder/tonefiledecoder.h"
#include "builder/toneverification.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavmusiccheck.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"

#include "testenv.h"
#include "testmusic.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;
using namespace kntr::test;

// Qt 6.4's ffmpeg plugin does not free the codec options of each file it opens
// (in libavutil, which this program does not call itself); the leak checker of
// sanitizer builds is not to count them.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libavutil.so\n";
}

namespace {

const QString kClipDir = QStringLiteral(KNTR_VOICECUE_DIR);

// Qt's audio decoder needs an application object; the program decodes with ffmpeg.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
    static int argc = 1;
    static char name[] = "builder_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

class ToneFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        const double segments[][3] = {{3.0, 1.0, 30}, {6.5, 2.5, 12}, {12.0, 15.0, 20}, {1.0, 0.0, 15}};
        mWorkout.setCount(4);
        for (int k = 1; k <= 4; ++k) {
            mWorkout.segment(k).setSegmentSpeed(segments[k - 1][0]);
            mWorkout.segment(k).setSegmentIncline(segments[k - 1][1]);
            mWorkout.segment(k).setSegmentTime(segments[k - 1][2]);
        }
        const QString song = mDir.filePath("song.wav");
        ASSERT_TRUE(writeFile(song, wavHeader(40 * 176400) + musicSamples(40 * 176400, 3)));
        mSong = WavMusicCheck::check(song).entry;
    }

    // Builds the workout and reads its tones back, checking them against the segments.
    void buildAndVerify(const QString& path, const WaveBuildOptions& options, bool music)
    {
        const WaveBuildResult built =
            WaveFileBuilder(mWorkout, mMachine, options,
                            music ? std::vector<MusicEntry>{mSong, mSong} : std::vector<MusicEntry>{},
                            kClipDir)
                .build(path);
        ASSERT_EQ(built.outcome, WaveBuildResult::Outcome::Written);
        verify(path, options.beeps, 1.0 / 44100);
    }

    // With lenient set, a repeat spoilt by a starved encoder is let pass.
    void verify(const QString& path, int beeps, double tolerance, bool lenient = false)
    {
        QString error;
        const auto found = ToneFileDecoder::decode(path, &error);
        ASSERT_TRUE(found) << error.toStdString();
        const ToneVerification v = ToneVerification::compare(mWorkout, mMachine, *found);
        if (!lenient) {
            EXPECT_TRUE(v.passed()) << v.lines().join('\n').toStdString();
        }
        EXPECT_TRUE(v.unexpected().empty());
        for (const ToneVerification::Row& row : v.rows()) {
            ASSERT_TRUE(row.found);
            EXPECT_EQ(row.found->first, row.first);
            EXPECT_EQ(row.found->second, row.second);
            EXPECT_TRUE(row.found->checkHolds);
            if (row.segment > 0) { // the end tone follows the end clip or the last silence
                EXPECT_NEAR(row.found->seconds, row.boundary, tolerance) << row.segment;
                EXPECT_EQ(row.found->beeps, beeps);
            }
        }
    }

    QTemporaryDir mDir;
    Workout mWorkout;
    Machine mMachine;
    MusicEntry mSong;
};

TEST_F(ToneFile, EveryBoundaryOfABuiltWavFileIsFoundWithItsValues)
{
    const struct {
        const char* machine;
        bool stereo, cues, music;
        int beeps;
    } rows[] = {
        {"Treadmill", true, true, true, 1},   {"Treadmill", false, true, false, 2},
        {"Elliptical", true, false, true, 2}, {"Elliptical Type A", false, false, false, 1},
        {"Bike", true, true, false, 1},       {"Incline trainer", true, false, false, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << r.machine << " stereo " << r.stereo << " cues " << r.cues
                                          << " music " << r.music << " beeps " << r.beeps);
        mMachine.setMachineType(r.machine);
        WaveBuildOptions options;
        options.stereo = r.stereo;
        options.voiceCues = r.cues;
        options.beeps = r.beeps;
        buildAndVerify(mDir.filePath("w.wav"), options, r.music);
    }

    // The values themselves, as the encoder sends them on a treadmill.
    mMachine.setMachineType("Treadmill");
    const auto found = ToneFileDecoder::decode(mDir.filePath("w.wav"));
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 5u);
    const int sent[][2] = {{30, 10}, {65, 25}, {120, 142}, {10, 245}, {252, 252}};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ((*found)[i].first, sent[i][0]);
        EXPECT_EQ((*found)[i].second, sent[i][1]);
    }
}

TEST_F(ToneFile, TheTonesSurviveAnMp3RoundTrip)
{
    const QString lame = QStandardPaths::findExecutable("lame");
    if (lame.isEmpty())
        GTEST_SKIP() << "the lame encoder is not installed";
    ensureApplication();
    mMachine.setMachineType("Treadmill");
    for (int k = 1; k <= mWorkout.count(); ++k)
        mWorkout.segment(k).setSegmentTime(10);
    WaveBuildOptions options;
    options.beeps = 2;
    const QString wav = mDir.filePath("w.wav");
    buildAndVerify(wav, options, true);
    // At 64 kbit/s in mono, after seconds of full-scale noise, the encoder may
    // spoil a symbol of a repeated frame: the first frames must still be right.
    for (const QStringList& settings : {QStringList{"-b", "128"}, QStringList{"-b", "64", "-m", "m"}}) {
        SCOPED_TRACE(settings.join(' ').toStdString());
        const QString mp3 = mDir.filePath("w.mp3");
        ASSERT_EQ(QProcess::execute(lame, QStringList{"--quiet"} + settings + QStringList{wav, mp3}), 0);
        verify(mp3, 2, 0.03, settings.contains("64"));
    }
}

TEST_F(ToneFile, CliDecodePrintsOneLinePerCommandAndFailsOnDamage)
{
    ensureApplication();
    mMachine.setMachineType("Treadmill");
    WaveBuildOptions options;
    options.voiceCues = false;
    options.stereo = false;
    const QString wav = mDir.filePath("w.wav");
    buildAndVerify(wav, options, false);
    MemorySettingsStore settings;
    const AppPaths paths(kClipDir + "/..", mDir.path());

    CliRun r = runCliCaptured({"decode", wav}, settings, paths);
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "    5.000  30  10  speed 3.0, incline 1.0  check  40 ok  repeat ok");
    EXPECT_EQ(lines[4].mid(9), " 252 252  stop  check 248 ok  repeat ok");
    r = runCliCaptured({"decode", wav, "--machine", "bike"}, settings, paths);
    EXPECT_TRUE(r.out.startsWith("    5.000  30  10  speed 3.0, resistance 1.0")) << r.out.toStdString();

    // One tone symbol of the second segment's repeated frames silenced.
    QByteArray bytes = readWhole(wav);
    const qint64 symbol = 44 + (35 * 44100 + 1412 + 3 * 880 + 1054 + 2 * 88) * 2;
    bytes.replace(symbol, 176, QByteArray(176, '\0'));
    ASSERT_TRUE(writeFile(wav, bytes));
    r = runCliCaptured({"decode", wav}, settings, paths);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.contains("   35.000  65  25  speed 6.5, incline 2.5  check  90 ok  repeat DIFFERS"))
        << r.out.toStdString();
    EXPECT_EQ(r.err, "kinetrova-cli decode: 1 of 5 commands did not decode cleanly\n");

    const QString silent = mDir.filePath("silent.wav");
    ASSERT_TRUE(writeFile(silent, wavHeader(176400) + QByteArray(176400, '\0')));
    EXPECT_EQ(runCliCaptured({"decode", silent}, settings, paths).status, 1);
    EXPECT_EQ(runCliCaptured({"decode", mDir.filePath("none.wav")}, settings, paths).status, 1);
    EXPECT_EQ(runCliCaptured({"decode", wav, "--machine", "rowing boat"}, settings, paths).status, 2);
}

} // namespace
