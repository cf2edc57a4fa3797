// The builder window and its preferences window driven as a user drives them, offscreen.

#include "builder/ui/recordingpreferenceswindow.h"
#include "builder/musicconversion.h"
#include "builder/wavworkoutwriter.h"
#include "builder/workoutfilemodel.h"
#include "builder/ui/workoutfilewindow.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/memorysettingsstore.h"

#include "manualclock.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "testmusic.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kntr;
using namespace kntr::test;

namespace {

QPushButton* button(QWidget& window, const char* name)
{
    auto* b = window.findChild<QPushButton*>(name);
    EXPECT_NE(b, nullptr) << name;
    return b;
}

// Runs action on the next modal window to open, then closes it with the button named.
void onNextModal(const std::function<void(QWidget&)>& action, const char* closeWith)
{
    QTimer::singleShot(0, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        action(*modal);
        if (QPushButton* close = modal->findChild<QPushButton*>(closeWith))
            QTest::mouseClick(close, Qt::LeftButton);
        else
            static_cast<QDialog*>(modal)->accept();
    });
}

} // namespace

TEST(WorkoutFileWindow, ShowsTheControlsMakesAFileAndVerifiesIt)
{
    QTemporaryDir dir;
    MemorySettingsStore settings;
    settings.SaveSetting(kAppName, "File", "LastFile", dir.filePath("walk.txt"));
    settings.SaveSetting(kAppName, "options", "VoiceCues", "0");
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Machine machine;
    machine.setMachineType("Bike");
    Workout workout;
    workout.segment(1).setSegmentSpeed(12);
    workout.segment(1).setSegmentIncline(4);
    workout.segment(1).setSegmentTime(20);
    const WavWorkoutWriter writer(QStringLiteral(KNTR_VOICECUE_DIR));
    WorkoutFileModel model(WorkoutFileType::Wav, workout, machine, settings, dialogs, messages, clock,
                           &writer);
    WorkoutFileWindow window(model, settings, messages);
    window.show();

    EXPECT_EQ(window.objectName(), "frmCreateCD");
    EXPECT_EQ(window.windowTitle(),
              "Kinetrova - Create workout file for a CD, MP3 Player, or PocketPC (WAV file)");
    EXPECT_EQ(window.findChild<QGroupBox*>("Frame1")->title(), "1. Add WAV music files (optional).");
    const std::pair<const char*, const char*> captions[] = {
        {"cmdAddFile", "&Add file"},    {"cmdDelFile", "&Del file"},
        {"cmdUP", "Move &Up"},          {"cmdDown", "Move &Dn"},
        {"cmdBrowse", "&Browse"},       {"cmdSaveList", "&Save List"},
        {"cmdPref", "&Preferences..."}, {"cmdMakeFile", "&Make Workout File"},
        {"cmdCancel", "&Cancel"},       {"cmdVerify", "&Verify"},
        {"cmdExit", "E&xit"},
    };
    for (const auto& [name, caption] : captions)
        EXPECT_EQ(button(window, name)->text(), caption);
    auto* list = window.findChild<QListWidget*>("lstMusicFiles");
    auto* info2 = window.findChild<QLabel*>("lblInfo2");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(info2, nullptr);
    ASSERT_NE(window.findChild<QLineEdit*>("txtBrowse"), nullptr);
    ASSERT_NE(window.findChild<QProgressBar*>("pic"), nullptr);
    EXPECT_EQ(window.findChild<QLabel*>("lblInfo3")->text(), "Play list is 0% of workout.");
    EXPECT_FALSE(button(window, "cmdCancel")->isEnabled());
    EXPECT_FALSE(button(window, "cmdVerify")->isEnabled());

    // Preferences: mono halves the estimate.
    onNextModal([](QWidget& prefs) { prefs.findChild<QRadioButton*>("optWaveType_0")->setChecked(true); },
                "cmdSave");
    QTest::mouseClick(button(window, "cmdPref"), Qt::LeftButton);
    EXPECT_EQ(model.estimatedSize(), 20 * 88200);

    // Music, then Make: the file is written and Verify lists its tones.
    dialogs.script(dir.filePath("a.wav"));
    ASSERT_TRUE(writeFile(dir.filePath("a.wav"), wavHeader(30 * 176400) + musicSamples(30 * 176400, 1)));
    QTest::mouseClick(button(window, "cmdAddFile"), Qt::LeftButton);
    EXPECT_EQ(list->count(), 1);
    dialogs.script(dir.filePath("out.wav"));
    QTest::mouseClick(button(window, "cmdMakeFile"), Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(dir.filePath("out.wav")));
    EXPECT_EQ(info2->text(),
              "Workout file: " + dir.filePath("out.wav")
                  + " written to disk. \nPlay the file on your computer or copy it to a CDROM.");
    ASSERT_TRUE(button(window, "cmdVerify")->isEnabled());
    QString shown;
    onNextModal(
        [&](QWidget& report) { shown = report.findChild<QPlainTextEdit*>("txtCommands")->toPlainText(); },
        "");
    QTest::mouseClick(button(window, "cmdVerify"), Qt::LeftButton);
    EXPECT_TRUE(shown.startsWith("Segment 1 at 5.000 s: speed 12.0, resistance 4.0 (120 40 160) - found at "
                                 "5.000 s: OK\nEnd at 25.000 s: stop"))
        << shown.toStdString();

    // Only Exit closes the window.
    messages.clear();
    window.close();
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Please use the Exit button at the bottom of this form to close it.");
    QTest::mouseClick(button(window, "cmdExit"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
}

TEST(WorkoutFileWindow, OffersToConvertMusicTheCheckTurnsDownWithProgressAndCancel)
{
    QTemporaryDir dir;
    MemorySettingsStore settings;
    settings.SaveSetting(kAppName, "File", "LastFile", dir.filePath("walk.txt"));
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Machine machine;
    Workout workout;
    const WavWorkoutWriter writer(QStringLiteral(KNTR_VOICECUE_DIR));
    WorkoutFileModel model(WorkoutFileType::Wav, workout, machine, settings, dialogs, messages, clock,
                           &writer);
    WorkoutFileWindow window(model, settings, messages);
    window.show();
    // A stand-in for the decoding helper: three seconds of a tone, with Cancel
    // clicked halfway when the test says so.
    bool clickCancel = false;
    bool cancelEnabled = false;
    const MusicConversion conversion(dir.filePath("cache"),
                                     [&](const QString&, const MusicConversion::Sink& sink, QString*,
                                         const MusicConversion::Progress& progress) {
                                         std::vector<float> pairs(2 * 44100);
                                         for (size_t i = 0; i < pairs.size(); ++i)
                                             pairs[i] = 0.5f * std::sin(float(i / 2) * 0.0627f);
                                         for (int second = 0; second < 3; ++second) {
                                             if (!sink(pairs.data(), 44100))
                                                 return true;
                                             progress(33 * (second + 1));
                                             cancelEnabled = button(window, "cmdCancel")->isEnabled();
                                             if (clickCancel && second == 1)
                                                 QTest::mouseClick(button(window, "cmdCancel"),
                                                                   Qt::LeftButton);
                                         }
                                         return true;
                                     });
    model.setMusicConversion(&conversion);
    const QString song = dir.filePath("song.ogg");
    ASSERT_TRUE(writeFile(song, QByteArray(4000, '\x5a')));
    auto* list = window.findChild<QListWidget*>("lstMusicFiles");

    // No: the check's lines, the question, and nothing added.
    dialogs.script(song);
    messages.script(MessageBoxes::Answer::Ok);
    messages.script(MessageBoxes::Answer::No);
    QTest::mouseClick(button(window, "cmdAddFile"), Qt::LeftButton);
    EXPECT_TRUE(dialogs.requests().back().filter.startsWith(
        "Music Files (*.mp3 *.wav *.ogg *.oga *.flac *.m4a *.aac *.opus *.wma)"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("File is not compatible"))
        << messages.shown()[0].text.toStdString();
    EXPECT_EQ(messages.shown()[1].text, "Convert a compatible copy for this workout?");
    EXPECT_EQ(messages.shown()[1].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(list->count(), 0);

    // Yes, then Cancel while it converts: still nothing, and nothing in the cache.
    clickCancel = true;
    messages.clear();
    dialogs.script(song);
    messages.script(MessageBoxes::Answer::Ok);
    messages.script(MessageBoxes::Answer::Yes);
    QTest::mouseClick(button(window, "cmdAddFile"), Qt::LeftButton);
    EXPECT_TRUE(cancelEnabled);
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(messages.shown()[2].text, "File creation aborted!");
    EXPECT_EQ(list->count(), 0);
    EXPECT_TRUE(QDir(dir.filePath("cache")).isEmpty());

    // Yes: the list shows the file chosen, the build takes its copy.
    clickCancel = false;
    dialogs.script(song);
    QTest::mouseClick(button(window, "cmdAddFile"), Qt::LeftButton);
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), song);
    EXPECT_TRUE(model.music()[0].path.startsWith(dir.filePath("cache/")));
    EXPECT_EQ(model.music()[0].dataBytes, 3 * 176400);
    EXPECT_FALSE(button(window, "cmdCancel")->isEnabled());
}

TEST(RecordingPreferencesWindow, ShowsAndStoresThePreferences)
{
    MemorySettingsStore settings;
    RecordingPreferencesWindow window(settings);
    EXPECT_EQ(window.objectName(), "frmCreateCDPref");
    EXPECT_EQ(window.windowTitle(), "Recording Preferences");
    auto* perSegment = window.findChild<QCheckBox*>("chkWavePerSegment");
    ASSERT_NE(perSegment, nullptr);
    EXPECT_EQ(perSegment->text(), "&Use one file per segment");
    EXPECT_EQ(window.findChild<QGroupBox*>("Frame2")->title(),
              "Settings for Workouts without Background Music");
    const std::pair<const char*, const char*> options[] = {
        {"optWaveType_1", "&Stereo"},        {"optWaveType_0", "&Monaural"},
        {"optMP3BitRate_2", "&128 bitrate"}, {"optMP3BitRate_1", "&96 bitrate"},
        {"optMP3BitRate_0", "&64 bitrate"},
    };
    for (const auto& [name, caption] : options) {
        auto* option = window.findChild<QRadioButton*>(name);
        ASSERT_NE(option, nullptr) << name;
        EXPECT_EQ(option->text(), caption);
    }
    // The defaults: stereo, 128 kbit/s.
    EXPECT_FALSE(perSegment->isChecked());
    EXPECT_TRUE(window.findChild<QRadioButton*>("optWaveType_1")->isChecked());
    EXPECT_TRUE(window.findChild<QRadioButton*>("optMP3BitRate_2")->isChecked());

    // Cancel stores nothing; Save stores all three.
    QTimer::singleShot(0, [&] {
        perSegment->setChecked(true);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    window.exec();
    EXPECT_TRUE(settings.isEmpty());
    QTimer::singleShot(0, [&] {
        EXPECT_FALSE(perSegment->isChecked());
        perSegment->setChecked(true);
        window.findChild<QRadioButton*>("optWaveType_0")->setChecked(true);
        window.findChild<QRadioButton*>("optMP3BitRate_1")->setChecked(true);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
    });
    window.exec();
    EXPECT_EQ(settings.GetSetting(kAppName, "RecordPref", "OneFilePerSeg"), "1");
    EXPECT_EQ(settings.GetSetting(kAppName, "RecordPref", "WaveType"), "0");
    EXPECT_EQ(settings.GetSetting(kAppName, "RecordPref", "MP3BitRate"), "1");
    EXPECT_EQ(settings.GetSetting(kAppName, "RecordPref", "ChapterMarks", "unset"), "unset");

    // Chapter marks: off until checked, then stored.
    auto* chapters = window.findChild<QCheckBox*>("chkChapters");
    ASSERT_NE(chapters, nullptr);
    EXPECT_EQ(chapters->text(), "C&hapter marks");
    QTimer::singleShot(0, [&] {
        EXPECT_FALSE(chapters->isChecked());
        chapters->setChecked(true);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
    });
    window.exec();
    EXPECT_EQ(settings.GetSetting(kAppName, "RecordPref", "ChapterMarks"), "1");
}
