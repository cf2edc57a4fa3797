// The builder window's logic with scripted dialogs: the music list and its play
// lists, the estimate, Make with its refusals, Cancel and Verify.

#include "files/playlistdialogs.h"
#include "builder/buildestimate.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavworkoutwriter.h"
#include "builder/mp3filebuilder.h"
#include "builder/mp3workoutwriter.h"
#include "builder/workoutfilemodel.h"
#include "files/asxplaylist.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"

#include "manualclock.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "testmusic.h"
#include "watchedfifo.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;
using namespace kntr::test;

namespace {

class WorkoutFileModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mMachine.setMachineType("Treadmill");
        mWorkout.setCount(2);
        mWorkout.segment(1).setSegmentSpeed(3);
        mWorkout.segment(1).setSegmentIncline(1);
        mWorkout.segment(1).setSegmentTime(30);
        mWorkout.segment(2).setSegmentSpeed(6.5);
        mWorkout.segment(2).setSegmentIncline(2.5);
        mWorkout.segment(2).setSegmentTime(12);
        mSettings.SaveSetting(kAppName, "File", "LastFile", path("walk.txt"));
        mSettings.SaveSetting(kAppName, "options", "VoiceCues", "0");
    }
    QString path(const QString& name) const { return mDir.filePath(name); }
    QString song(const QString& name, int seconds, int channels = 2)
    {
        const qint64 bytes = qint64{seconds} * 88200 * channels;
        EXPECT_TRUE(writeFile(path(name),
                              wavHeader(bytes, channels, 44100, 16, 2 * channels, 88200 * channels)
                                  + musicSamples(bytes, seconds)));
        return path(name);
    }
    WorkoutFileModel maker(WorkoutFileType type = WorkoutFileType::Wav,
                           const WorkoutFileWriter* writer = nullptr)
    {
        return WorkoutFileModel(type, mWorkout, mMachine, mSettings, mDialogs, mMessages, mClock,
                                writer ? writer : &mWriter);
    }

    QTemporaryDir mDir;
    Workout mWorkout;
    Machine mMachine;
    MemorySettingsStore mSettings;
    ScriptedFileDialogs mDialogs;
    ScriptedMessageBoxes mMessages;
    ManualClock mClock;
    WavWorkoutWriter mWriter{QStringLiteral(KNTR_VOICECUE_DIR)};
};

TEST_F(WorkoutFileModelTest, TheMusicListItsPlayListsAndTheEstimate)
{
    WorkoutFileModel m = maker();
    EXPECT_EQ(m.frameCaption(), "1. Add WAV music files (optional).");
    EXPECT_EQ(m.outputPath(), path("walk.wav"));
    EXPECT_EQ(m.lblInfo2(), "File Name: " + path("walk.wav") + "\rWorkout File Size: about 7 Mbytes");
    EXPECT_EQ(m.lblInfo3(), "Play list is 0% of workout.");
    // Mono halves a file without music; music makes it stereo again.
    mSettings.SaveSetting(kAppName, "RecordPref", "WaveType", "0");
    m.refresh();
    EXPECT_EQ(m.estimatedSize(), 42 * 88200);

    const QString a = song("a.wav", 20), b = song("b.wav", 10), bad = song("bad.wav", 5, 1);
    for (const QString& chosen : {a, bad, b})
        mDialogs.script(chosen);
    mDialogs.scriptCancel();
    for (int i = 0; i < 4; ++i)
        m.addFile();
    EXPECT_EQ(mDialogs.requests().front().filter, "Wave Files (*.wav)");
    EXPECT_EQ(m.paths(), QStringList({a, b}));
    ASSERT_EQ(mMessages.shown().size(), 1u);
    EXPECT_TRUE(
        mMessages.shown()[0].text.startsWith("File is not compatible with this version of Kinetrova."));
    EXPECT_EQ(m.estimatedSize(), 42 * 176400);
    EXPECT_EQ(m.lblInfo3(), "Play list is 71% of workout.");
    mSettings.SaveSetting(kAppName, "RecordPref", "OneFilePerSeg", "1");
    m.refresh();
    EXPECT_EQ(m.lblInfo3(), "2 of 2 segments assigned");

    // Moving and deleting: the selection moves with its row; none selected deletes the last.
    m.selectRow(1);
    m.moveUp();
    EXPECT_EQ(m.paths(), QStringList({b, a}));
    EXPECT_EQ(m.selectedRow(), 0);
    m.moveUp();
    m.moveDown();
    m.moveDown();
    EXPECT_EQ(m.paths(), QStringList({a, b}));
    EXPECT_EQ(m.music()[1].path, b);

    mDialogs.script(path("list.asx"));
    m.saveList();
    EXPECT_EQ(readWhole(path("list.asx")), AsxPlayList::text({a, b}));
    EXPECT_EQ(m.playListPath(), path("list.asx"));
    m.removeFile();
    m.selectRow(-1);
    m.removeFile();
    EXPECT_TRUE(m.paths().isEmpty());

    // A play list brings its WAV files that pass; an MP3 is passed over, a missing file reported once.
    ASSERT_TRUE(AsxPlayList::write(path("mixed.asx"), {b, path("x.mp3"), path("gone.wav"), a, bad}));
    mMessages.clear();
    mDialogs.script(path("mixed.asx"));
    m.browse();
    EXPECT_EQ(m.paths(), QStringList({b, a}));
    EXPECT_EQ(m.playListPath(), path("mixed.asx"));
    EXPECT_EQ(mSettings.GetSetting(kAppName, "audio", "ASXfilename"), path("mixed.asx"));
    EXPECT_EQ(mSettings.GetSetting(kAppName, "File", "ASXDirectory"), mDir.path());
    ASSERT_EQ(mMessages.shown().size(), 2u);
    EXPECT_TRUE(mMessages.shown()[0].text.startsWith("File is not compatible"));
    EXPECT_TRUE(mMessages.shown()[1].text.contains(path("gone.wav")));
    mDialogs.script(path("walk.txt"));
    m.browse();
    EXPECT_EQ(mMessages.shown().back().text, PlayListDialogs::kNotPlayListMessage);
    EXPECT_EQ(m.paths(), QStringList({b, a}));
}

TEST_F(WorkoutFileModelTest, AFifoAsMusicIsRefusedWithoutBeingOpened)
{
    WorkoutFileModel m = maker();
    const test::WatchedFifo fifo(path("pipe.wav"));
    ASSERT_TRUE(fifo.made());
    const QString message = path("pipe.wav") + " could not be read: Not a regular file";
    mDialogs.script(path("pipe.wav"));
    m.addFile();
    ASSERT_TRUE(AsxPlayList::write(path("list.asx"), {path("pipe.wav")}));
    m.setListPath(path("list.asx"));
    EXPECT_TRUE(m.paths().isEmpty());
    ASSERT_EQ(mMessages.shown().size(), 2u);
    EXPECT_EQ(mMessages.shown()[0].text, message);
    EXPECT_TRUE(mMessages.shown()[1].text.endsWith("\r" + message));
    EXPECT_FALSE(fifo.opened());
}

TEST_F(WorkoutFileModelTest, MakeAsksForTheNameChecksTheSpaceWritesAndVerifies)
{
    WorkoutFileModel m = maker();
    std::vector<int> percents;
    QStringList statuses;
    m.setChangeHandler([&] {
        if (m.busy())
            percents.push_back(m.progress());
        if (statuses.isEmpty() || statuses.back() != m.lblInfo2())
            statuses << m.lblInfo2();
    });

    m.makeFile(); // the dialog is cancelled
    ASSERT_EQ(mDialogs.requests().size(), 1u);
    EXPECT_EQ(mDialogs.requests()[0].title, "Save As");
    EXPECT_EQ(mDialogs.requests()[0].filter, "Wave Files (*.wav)");
    EXPECT_EQ(mDialogs.requests()[0].fileName, "walk.wav");
    EXPECT_TRUE(mMessages.shown().empty());

    m.setFreeSpace([](const QString&) { return qint64{1000}; });
    mDialogs.script(path("out"));
    m.makeFile();
    ASSERT_EQ(mMessages.shown().size(), 1u);
    EXPECT_EQ(mMessages.shown()[0].text, WaveFileBuilder::notEnoughSpaceMessage(mDir.path()));
    EXPECT_FALSE(QFile::exists(path("out.wav")));
    EXPECT_TRUE(percents.empty());

    // The typed name gets its extension; the closing message, then the status.
    m.setFreeSpace([](const QString&) { return qint64{-1}; });
    mMessages.clear();
    mDialogs.script(path("out"));
    m.makeFile();
    ASSERT_TRUE(QFile::exists(path("out.wav")));
    ASSERT_EQ(mMessages.shown().size(), 1u);
    EXPECT_EQ(mMessages.shown()[0].text, WaveFileBuilder::writtenMessage(path("out.wav")));
    EXPECT_EQ(m.lblInfo2(), WaveFileBuilder::writtenStatus(path("out.wav")));
    EXPECT_EQ(m.progress(), 100) << "a finished file leaves the bar full";
    EXPECT_FALSE(m.busy());
    EXPECT_EQ(m.writtenPath(), path("out.wav"));
    ASSERT_GT(percents.size(), 2u);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    EXPECT_EQ(statuses.mid(statuses.size() - 3),
              QStringList({"Writing to disk:" + path("out.wav") + ".  Please wait...",
                           path("out.wav") + " written to disk. OK to Exit.",
                           WaveFileBuilder::writtenStatus(path("out.wav"))}));

    const std::optional<ToneVerification> verified = m.verify();
    ASSERT_TRUE(verified);
    EXPECT_TRUE(verified->passed()) << verified->lines().join('\n').toStdString();
    EXPECT_EQ(verified->rows().size(), 3u);
    EXPECT_EQ(m.lblInfo2(), "All 3 control tones were found with the right values.");
}

TEST_F(WorkoutFileModelTest, CancelLeavesNoPartialFileAndAnEarlierOneAsItWas)
{
    for (const bool music : {false, true}) {
        SCOPED_TRACE(music ? "with music" : "without music");
        ASSERT_TRUE(writeFile(path("out.wav"), "an earlier file"));
        WorkoutFileModel m = maker();
        if (music) {
            mDialogs.script(song("a.wav", 50));
            m.addFile();
        }
        mMessages.clear();
        // Cancel is clicked while the first block is written.
        mClock.at(0, [&] {
            EXPECT_TRUE(m.canCancel());
            EXPECT_FALSE(m.canMake());
            m.cancel();
        });
        mDialogs.script(path("out.wav"));
        m.makeFile();

        EXPECT_EQ(readWhole(path("out.wav")), "an earlier file");
        EXPECT_EQ(QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden).size(), music ? 2 : 1);
        ASSERT_EQ(mMessages.shown().size(), 1u);
        EXPECT_EQ(mMessages.shown()[0].text, "File creation aborted!");
        EXPECT_EQ(mMessages.shown()[0].icon, MessageBoxes::Icon::Exclamation);
        EXPECT_EQ(mMessages.shown()[0].buttons, MessageBoxes::Buttons::OkCancel);
        EXPECT_FALSE(m.busy());
        EXPECT_TRUE(m.canMake());
        EXPECT_EQ(m.lblInfo2(), BuildEstimate::fileInfoText(path("out.wav"), m.estimatedSize()));
        EXPECT_EQ(m.progress(), 0);
        EXPECT_TRUE(m.writtenPath().isEmpty());
        QFile::remove(path("a.wav"));
    }
}

TEST_F(WorkoutFileModelTest, OpensOnlyForASavedWorkoutAndMakesMp3OnlyWithAWriter)
{
    MemorySettingsStore unsaved;
    EXPECT_FALSE(WorkoutFileModel::mayOpen(unsaved, mMessages));
    ASSERT_EQ(mMessages.shown().size(), 1u);
    EXPECT_EQ(mMessages.shown()[0].text, "Save this workout before creating a MP3 or WAV file.");
    EXPECT_EQ(mMessages.shown()[0].icon, MessageBoxes::Icon::Information);
    EXPECT_TRUE(WorkoutFileModel::mayOpen(mSettings, mMessages));

    WorkoutFileModel m = maker(WorkoutFileType::Mp3, &mWriter); // a WAV writer does not make MP3 files
    EXPECT_EQ(m.frameCaption(), "1. Add MP3 music files (optional).");
    EXPECT_EQ(m.caption(), WorkoutFileModel::kCaption + " (MP3 file)");
    EXPECT_EQ(m.outputPath(), path("walk.mp3"));
    EXPECT_FALSE(m.canMake());
    m.makeFile();
    EXPECT_TRUE(mDialogs.requests().empty());
    EXPECT_EQ(m.estimatedSize(), qRound64(42 * 417 / 0.026));
    mSettings.SaveSetting(kAppName, "RecordPref", "MP3BitRate", "0");
    m.refresh();
    EXPECT_EQ(m.estimatedSize(), qRound64(42 * 208 / 0.026));

    // With music: the music's frames for the seconds it covers, 128 kbit/s frames for the rest.
    MusicEntry first, second;
    first.seconds = 30.0f;
    first.frameSize = 313;
    second.seconds = 20.0f;
    second.frameSize = 208;
    EXPECT_EQ(BuildEstimate::mp3Size(mWorkout, 64, {first, second}),
              qRound64(30 * 313 / 0.026 + 12 * 417 / 0.026));

    // A finished MP3 file ends with a box, as a WAV file does, and the status says it is done.
    const Mp3WorkoutWriter mp3(QStringLiteral(KNTR_VOICECUE_DIR));
    WorkoutFileModel made = maker(WorkoutFileType::Mp3, &mp3);
    mMessages.clear();
    mDialogs.script(path("made.mp3"));
    made.makeFile();
    ASSERT_EQ(mMessages.shown().size(), 1u);
    EXPECT_EQ(mMessages.shown()[0].text, Mp3FileBuilder::writtenMessage(path("made.mp3")));
    EXPECT_EQ(made.lblInfo2(), Mp3FileBuilder::writtenStatus(path("made.mp3")));
    EXPECT_EQ(made.progress(), 100);
}

} // namespace
