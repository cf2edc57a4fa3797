// The File menu's commands on workout and user files, with scripted dialogs and message boxes.

#include "files/recentfiles.h"
#include "files/textfile.h"
#include "files/workoutfiles.h"
#include "files/workouttext.h"
#include "model/machinefit.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "recordingworkoutview.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace kntr;
using Answer = MessageBoxes::Answer;
using Icon = MessageBoxes::Icon;

namespace {

class WorkoutFilesTest : public ::testing::Test {
protected:
    // As at the program's start: the stored machine profile.
    void SetUp() override { loadStoredMachine(session.machine, settings); }
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QString stored(const char* section, const char* key) const
    {
        return settings.GetSetting("Kinetrova", section, key);
    }
    void write(const QString& name, const QByteArray& bytes)
    {
        ASSERT_TRUE(writeTextFile(path(name), bytes));
    }
    QByteArray read(const QString& file) { return readWholeFile(file).value_or("<missing>"); }
    QStringList shownTexts() const
    {
        QStringList out;
        for (const auto& s : messages.shown())
            out << s.text;
        return out;
    }
    void setSegments(std::initializer_list<std::array<double, 3>> rows)
    {
        session.workout.setCount(static_cast<int>(rows.size()));
        int i = 1;
        for (const auto& r : rows) {
            Segment& s = session.workout.segment(i++);
            s.setSegmentSpeed(r[0]);
            s.setSegmentIncline(r[1]);
            s.setSegmentTime(r[2]);
        }
    }
    void expectSegment(int i, double speed, double incline, double seconds)
    {
        const Segment& s = session.workout.segment(i);
        EXPECT_DOUBLE_EQ(s.SegmentSpeed(), speed) << "segment " << i;
        EXPECT_DOUBLE_EQ(s.SegmentIncline(), incline) << "segment " << i;
        EXPECT_DOUBLE_EQ(s.SegmentTime(), seconds) << "segment " << i;
    }

    QTemporaryDir dir;
    AppPaths paths{dir.path() + "/program", dir.path() + "/data"};
    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    RecentFiles recent{settings};
    WorkoutFiles files{session, settings, view, messages, dialogs, recent, paths};
};

const QByteArray kHills = "Vexa v 1.2                \r\n\r\n[machine settings]\r\n"
                          "Treadmill\r\nMiles\r\n20\r\n100\r\n5\r\n0\r\n100\r\n10\r\n\r\n"
                          "[segment settings]\r\n"
                          "1\t1\t12\t60\r\n2\t3.3\t2\t120\r\n3\t11\t4\t5\r\n\r\n"
                          "[playlist]\r\n\r\n\r\n\r\n";

TEST_F(WorkoutFilesTest, SaveAsThenOpenGivesBackSegmentsMachineUnitsAndRanges)
{
    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Incline trainer");
    settings.SaveSetting("Kinetrova", "Options", "Units", "Kilos");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMin", "20");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMax", "120");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedInc", "5");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMin", "0");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMax", "300");
    settings.SaveSetting("Kinetrova", "Machine", "InclineInc", "10");
    loadStoredMachine(session.machine, settings);
    setSegments({{2.5, 0, 600}, {11.5, 30, 45.5}, {6, 12, 3600}});
    session.modified = true;

    dialogs.script(path("climb.txt"));
    ASSERT_TRUE(files.SaveWorkoutFile(2));
    EXPECT_FALSE(session.modified);
    EXPECT_EQ(stored("File", "LastFile"), path("climb.txt"));
    EXPECT_EQ(stored("File", "LastDirectory"), dir.path());
    EXPECT_EQ(stored("File", "LastFileName"), "climb.txt");
    EXPECT_EQ(view.caption, "Kinetrova - climb.txt");
    EXPECT_EQ(recent.RecentFilePath(1), path("climb.txt"));

    // Another machine and workout in between.
    settings.DeleteSetting("Kinetrova", "Machine");
    settings.DeleteSetting("Kinetrova", "Options");
    loadStoredMachine(session.machine, settings);
    setSegments({{1, 1, 60}});

    dialogs.script(path("climb.txt"));
    files.openWorkout();
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join('|').toStdString();
    ASSERT_EQ(session.workout.count(), 3);
    expectSegment(1, 2.5, 0, 600);
    expectSegment(2, 11.5, 30, 45.5);
    expectSegment(3, 6, 12, 3600);
    EXPECT_EQ(session.machine.MachineType(), "Incline trainer");
    EXPECT_EQ(session.machine.DisplayUnits(), "Kilos");
    EXPECT_EQ(session.machine.AttOneMin(), 20);
    EXPECT_EQ(session.machine.AttOneMax(), 120);
    EXPECT_EQ(session.machine.AttOneInc(), 5);
    EXPECT_EQ(session.machine.AttTwoMin(), 0);
    EXPECT_EQ(session.machine.AttTwoMax(), 300);
    EXPECT_EQ(session.machine.AttTwoInc(), 10);
    EXPECT_EQ(stored("Options", "Units"), "Kilos");
    EXPECT_EQ(view.units, Units::Kilometres);
    EXPECT_EQ(view.caption, "Kinetrova - climb.txt");
    EXPECT_FALSE(session.modified);
}

TEST_F(WorkoutFilesTest, TheFirstSegmentSurvivesTheMachineSave)
{
    write("hills.txt", kHills);
    ASSERT_TRUE(files.loadWorkoutFile(path("hills.txt")));
    // Speed 2 to 10 by 0.5, incline 0 to 10 by 1: segment 1 keeps 1.0 and 12.
    expectSegment(1, 1, 12, 60);
    expectSegment(2, 3.5, 2, 120);
    expectSegment(3, 10, 4, 10);
    EXPECT_EQ(stored("Machine", "SpeedMin"), "20");
    EXPECT_EQ(session.workout.current(), 1);

    // File > Open ends with the workout check, which fits segment 1 too.
    dialogs.script(path("hills.txt"));
    files.openWorkout();
    expectSegment(1, 2, 10, 60);
}

TEST_F(WorkoutFilesTest, ABrokenFileLeavesTheWorkoutAndMachineAsTheyWere)
{
    setSegments({{4, 2, 300}, {5, 3, 400}});
    QByteArray broken = kHills;
    broken.replace("3\t11\t4\t5", "3\t11\tfour\t5");
    write("broken.txt", broken);
    session.modified = true;
    view.caption = "Kinetrova - mine.txt";

    messages.script(Answer::No); // not saved first
    dialogs.script(path("broken.txt"));
    files.openWorkout();
    EXPECT_EQ(shownTexts(),
              QStringList({"Do you want to save changes made to default.txt?",
                           path("broken.txt")
                               + " is not a valid workout file: segment 3 (line 16): "
                                 "the incline \"four\" is not a number."}));
    ASSERT_EQ(session.workout.count(), 2);
    expectSegment(1, 4, 2, 300);
    expectSegment(2, 5, 3, 400);
    EXPECT_EQ(stored("Machine", "SpeedMin"), "") << "the machine block was not applied";
    EXPECT_TRUE(session.modified);
    EXPECT_EQ(view.caption, "Kinetrova - mine.txt");
    EXPECT_EQ(stored("File", "LastFile"), "");
    EXPECT_EQ(recent.count(), 0);
}

TEST_F(WorkoutFilesTest, AFailedOpenSaysInOneMessageWhichFileFailedAndWhy)
{
    setSegments({{4, 2, 300}});
    write("letter.txt", "Dear Sir,\r\n");
    QByteArray later = kHills;
    later[9] = '5';
    write("later.txt", later);
    QByteArray many = "Vexa v 1.1                \r\n";
    for (int i = 1; i <= 61; ++i)
        many += QByteArray::number(i) + "\t3\t1\t60\r\n";
    write("many.txt", many + "\r\n");
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("pipe.txt")).constData(), 0600), 0);
    write("locked.txt", kHills);
    QFile(path("locked.txt")).setPermissions({});
    const bool root = ::geteuid() == 0; // reads whatever it likes

    const struct {
        const char* name;
        bool unreadable; // the file itself could not be read
        QString says;
    } cases[] = {
        {"letter.txt", false, ": " + kWorkoutNotRecognisedMessage},
        {"later.txt", false, " was written by a newer release of Kinetrova (version 1.5)."},
        {"many.txt", false, " is not a valid workout file: the file holds 61 segments; at most 60 fit."},
        {"missing.txt", true, ": No such file or directory."},
        {"pipe.txt", true, ": Not a regular file."},
        {"locked.txt", true, root ? QString() : ": Permission denied."},
    };
    for (const auto& c : cases) {
        if (c.says.isEmpty())
            continue;
        messages.clear();
        dialogs.script(path(c.name));
        files.openWorkout();
        EXPECT_EQ(shownTexts(), QStringList{(c.unreadable ? "Cannot read " : "") + path(c.name) + c.says});
        EXPECT_EQ(messages.shown().at(0).icon, Icon::Information);
        ASSERT_EQ(session.workout.count(), 1) << c.name;
        expectSegment(1, 4, 2, 300);
    }
    EXPECT_EQ(recent.count(), 0);
    EXPECT_EQ(stored("File", "LastFile"), "");
}

TEST_F(WorkoutFilesTest, OnlyAStartOnTheDefaultWorkoutSaysSo)
{
    // The remembered workout: "not found" only when it is gone.
    EXPECT_FALSE(files.openLastWorkout(path("gone.txt")));
    write("letter.txt", "Dear Sir,\r\n");
    EXPECT_FALSE(files.openLastWorkout(path("letter.txt")));
    // A user file on the command line that cannot be read is no missing workout.
    write("letter.ktr", "Dear Sir,\r\n");
    EXPECT_FALSE(files.openUserFileAtStart(path("letter.ktr")));
    EXPECT_EQ(shownTexts(),
              QStringList({WorkoutFiles::kNotFoundMessage,
                           path("letter.txt") + ": " + kWorkoutNotRecognisedMessage
                               + "\r\rDefault workout was loaded.",
                           path("letter.ktr") + ": " + WorkoutFiles::kUserNotRecognisedMessage
                               + "\r\rDefault workout was loaded."}));
}

TEST_F(WorkoutFilesTest, OpenWantsALowerCaseTxtEnding)
{
    write("HILLS.TXT", kHills);
    dialogs.script(path("HILLS.TXT"));
    files.openWorkout();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              path("HILLS.TXT") + " was not recognized as a text file. Select a file ending with \"txt\".");
    EXPECT_EQ(messages.shown()[0].icon, Icon::Exclamation);
    EXPECT_EQ(view.selected, 1) << "the workout check still runs";

    messages.clear();
    files.openWorkout(); // cancelled: nothing at all
    EXPECT_TRUE(messages.shown().empty());
    const FileDialogRequest& open = dialogs.requests().back();
    EXPECT_EQ(open.title, "Open");
    EXPECT_EQ(open.filter, "Text Files (*.txt)");
    EXPECT_EQ(open.folder, paths.workoutsDir());
    EXPECT_TRUE(QDir(paths.workoutsDir()).exists());
}

TEST_F(WorkoutFilesTest, VersionOneFilesKeepTheMachineAndPlayList)
{
    settings.SaveSetting("Kinetrova", "audio", "ASXfilename", "/music/mine.asx");
    write("old.txt", "Vexa v 1.0                \r\n1\t3\t1\t2.5\r\n2\t4\t2\t0.125\r\n\r\n");
    ASSERT_TRUE(files.openWorkoutFile(path("old.txt")));
    ASSERT_EQ(session.workout.count(), 2);
    expectSegment(1, 3, 1, 150);
    expectSegment(2, 4, 2, 10);
    EXPECT_EQ(stored("Machine", "MachineType"), "");
    EXPECT_EQ(stored("audio", "ASXfilename"), "/music/mine.asx");
    EXPECT_EQ(view.elapsedResets, 1);
}

TEST_F(WorkoutFilesTest, ThePlayListLineIsStoredUnlessEmpty)
{
    settings.SaveSetting("Kinetrova", "audio", "ASXfilename", "/music/mine.asx");
    write("hills.txt", kHills);
    ASSERT_TRUE(files.loadWorkoutFile(path("hills.txt")));
    EXPECT_EQ(stored("audio", "ASXfilename"), "/music/mine.asx");

    QByteArray withList = kHills;
    withList.replace("[playlist]\r\n", "[playlist]\r\n/music/hills.asx");
    write("listed.txt", withList);
    ASSERT_TRUE(files.loadWorkoutFile(path("listed.txt")));
    EXPECT_EQ(stored("audio", "ASXfilename"), "/music/hills.asx");
}

TEST_F(WorkoutFilesTest, AFileWithoutSegmentsKeepsTheWorkoutButAppliesItsMachine)
{
    setSegments({{4, 2, 300}, {5, 3, 400}});
    write("machine.txt",
          "Vexa v 1.2                \r\n\r\n[machine settings]\r\nBike\r\nMiles\r\n"
          "10\r\n100\r\n5\r\n0\r\n100\r\n10\r\n\r\n[playlist]\r\n\r\n\r\n\r\n");
    ASSERT_TRUE(files.loadWorkoutFile(path("machine.txt")));
    EXPECT_EQ(session.workout.count(), 2);
    EXPECT_EQ(session.machine.MachineType(), "Bike");
    EXPECT_EQ(stored("Machine", "InclineInc"), "10");
    EXPECT_TRUE(shownTexts().isEmpty()) << "the notice is for the user's own choice in the window";
}

TEST_F(WorkoutFilesTest, SaveWithoutARememberedFileAsksForAName)
{
    EXPECT_FALSE(files.SaveWorkoutFile(1)); // the dialog is cancelled
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(dialogs.requests().size(), 1u);
    EXPECT_EQ(dialogs.requests()[0].title, "Save As");
    EXPECT_EQ(recent.count(), 0);

    dialogs.script(path("named.txt"));
    session.modified = true;
    EXPECT_TRUE(files.SaveWorkoutFile(1));
    EXPECT_TRUE(QFile::exists(path("named.txt")));
    EXPECT_FALSE(session.modified);
}

TEST_F(WorkoutFilesTest, SaveAsOffersTheRememberedFileInTheWorkoutsFolder)
{
    settings.SaveSetting("Kinetrova", "File", "LastFile", "/elsewhere/hills.txt");
    EXPECT_FALSE(files.SaveWorkoutFile(2)); // cancelled
    ASSERT_EQ(dialogs.requests().size(), 1u);
    const FileDialogRequest& r = dialogs.requests()[0];
    EXPECT_EQ(r.title, "Save As");
    EXPECT_EQ(r.filter, "Text Files (*.txt)");
    EXPECT_EQ(r.folder, paths.workoutsDir());
    EXPECT_EQ(r.fileName, "hills.txt");
    EXPECT_EQ(r.defaultSuffix, "txt");
    EXPECT_TRUE(QDir(paths.workoutsDir()).exists());
    EXPECT_EQ(stored("File", "LastFile"), "/elsewhere/hills.txt");

    // A remembered folder that no longer exists is passed over; one that exists is used.
    settings.SaveSetting("Kinetrova", "File", "LastDirectory", "/no/such/folder");
    files.SaveWorkoutFile(2);
    EXPECT_EQ(dialogs.requests().back().folder, paths.workoutsDir());
    settings.SaveSetting("Kinetrova", "File", "LastDirectory", dir.path());
    files.SaveWorkoutFile(2);
    EXPECT_EQ(dialogs.requests().back().folder, dir.path());
}

TEST_F(WorkoutFilesTest, AFailedSaveKeepsTheEditsUnsavedAndTheOldFile)
{
    write("mine.txt", kHills);
    ASSERT_TRUE(files.openWorkoutFile(path("mine.txt")));
    session.workout.segment(2).setSegmentTime(999);
    session.modified = true;

    // A folder that cannot exist: its parent is a file.
    dialogs.script(path("mine.txt/inside.txt"));
    EXPECT_FALSE(files.SaveWorkoutFile(2));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].icon, Icon::Exclamation);
    EXPECT_FALSE(messages.shown()[0].text.isEmpty());
    EXPECT_TRUE(session.modified);
    EXPECT_EQ(stored("File", "LastFile"), path("mine.txt"));
    EXPECT_EQ(view.caption, "Kinetrova - mine.txt");
    EXPECT_EQ(recent.count(), 0);
    EXPECT_EQ(read(path("mine.txt")), kHills);

    // The same through File > Save when the remembered file became a folder.
    QFile::remove(path("mine.txt"));
    QDir().mkpath(path("mine.txt"));
    messages.clear();
    EXPECT_FALSE(files.SaveWorkoutFile(1));
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(session.modified);
}

TEST_F(WorkoutFilesTest, SavingTheDefaultWorkoutMakesTheDataFolder)
{
    DefaultWorkout(session.workout, settings, paths.userDataDir());
    ASSERT_TRUE(files.SaveWorkoutFile(1));
    EXPECT_TRUE(QFile::exists(paths.userDataDir() + "/default.txt"));
}

// User files.

TEST_F(WorkoutFilesTest, SaveUserAsksForANameAndWritesThreeLines)
{
    write("hills.txt", kHills);
    ASSERT_TRUE(files.openWorkoutFile(path("hills.txt")));
    session.weightPounds = 172;

    dialogs.script(path("runner.ktr"));
    ASSERT_TRUE(files.SaveUserFile(1));
    const FileDialogRequest& r = dialogs.requests().back();
    EXPECT_EQ(r.title, "Save As");
    EXPECT_EQ(r.filter, "Kinetrova User Files (*.ktr)");
    EXPECT_EQ(r.fileName, "user.ktr");
    EXPECT_EQ(r.folder, paths.usersDir());
    EXPECT_TRUE(QDir(paths.usersDir()).exists());

    EXPECT_EQ(read(path("runner.ktr")),
              "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8() + "\r\n172\r\n");
    EXPECT_EQ(session.userFile, path("runner.ktr"));
    EXPECT_EQ(view.caption, "runner.ktr - Kinetrova - hills.txt");
    EXPECT_EQ(recent.RecentFilePath(1), path("runner.ktr"));

    // Save User with an open user file writes it again without a dialog.
    session.weightPounds = 150;
    const size_t asked = dialogs.requests().size();
    ASSERT_TRUE(files.SaveUserFile(1));
    EXPECT_EQ(dialogs.requests().size(), asked);
    EXPECT_TRUE(read(path("runner.ktr")).endsWith("\r\n150\r\n"));
}

TEST_F(WorkoutFilesTest, SaveUserWithUnsavedEditsOffersTheWorkoutSaveFirst)
{
    write("hills.txt", kHills);
    ASSERT_TRUE(files.openWorkoutFile(path("hills.txt")));
    session.modified = true;

    messages.script(Answer::Cancel);
    EXPECT_FALSE(files.SaveUserFile(2));
    EXPECT_EQ(messages.shown()[0].text, WorkoutFiles::kSaveWorkoutFirstMessage);
    EXPECT_EQ(messages.shown()[0].icon, Icon::None);
    EXPECT_TRUE(dialogs.requests().empty());

    // OK: the workout's Save As comes first; cancelling it still writes the user file.
    messages.script(Answer::Ok);
    dialogs.scriptCancel();
    dialogs.script(path("me.ktr"));
    ASSERT_TRUE(files.SaveUserFile(2));
    ASSERT_EQ(dialogs.requests().size(), 2u);
    EXPECT_EQ(dialogs.requests()[0].filter, "Text Files (*.txt)");
    EXPECT_EQ(dialogs.requests()[1].filter, "Kinetrova User Files (*.ktr)");
    EXPECT_TRUE(read(path("me.ktr")).contains(path("hills.txt").toUtf8()));
}

TEST_F(WorkoutFilesTest, OpeningAUserFileLoadsItsWorkoutAndWeight)
{
    write("hills.txt", kHills);
    write("runner.ktr", "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8() + "\r\n165.7\r\n");
    dialogs.script(path("runner.ktr"));
    files.openUser();
    EXPECT_TRUE(messages.shown().empty()) << shownTexts().join('|').toStdString();
    EXPECT_EQ(session.userFile, path("runner.ktr"));
    EXPECT_EQ(session.weightPounds, 166);
    EXPECT_EQ(view.weight, 166);
    EXPECT_EQ(stored("user", "weight"), "166");
    EXPECT_EQ(session.workout.count(), 3);
    EXPECT_EQ(view.caption, "runner.ktr - Kinetrova - hills.txt");
    EXPECT_EQ(recent.RecentFilePath(1), path("runner.ktr"));
    const FileDialogRequest& r = dialogs.requests().back();
    EXPECT_EQ(r.title, "Open");
    EXPECT_EQ(r.folder, paths.usersDir());
    EXPECT_EQ(r.filter, "Kinetrova User Files (*.ktr)");
}

TEST_F(WorkoutFilesTest, AUserFileWhoseWorkoutIsGoneStillOpens)
{
    setSegments({{4, 2, 300}});
    write("runner.ktr", "Vexa v 1.1                \r\n/gone/hills.txt\r\n150\r\n");
    dialogs.script(path("runner.ktr"));
    files.openUser();
    EXPECT_EQ(shownTexts(),
              QStringList{"Cannot read /gone/hills.txt: No such file or directory."
                          "\r\rThe user file was opened with the workout shown before."});
    expectSegment(1, 4, 2, 300);
    EXPECT_EQ(session.weightPounds, 150);
    EXPECT_EQ(session.userFile, path("runner.ktr"));
    EXPECT_EQ(view.caption, "runner.ktr - Kinetrova - default");

    // At start-up the default workout takes its place, and the message says so.
    messages.clear();
    EXPECT_TRUE(files.openUserFileAtStart(path("runner.ktr")));
    EXPECT_FALSE(files.userWorkoutLoaded());
    EXPECT_EQ(shownTexts(), QStringList{WorkoutFiles::kNotFoundMessage});
}

TEST_F(WorkoutFilesTest, BadUserFilesChangeNothing)
{
    write("hills.txt", kHills);
    write("letter.ktr", "Dear Sir,\r\n");
    write("heavy.ktr", "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8() + "\r\n900\r\n");
    write("short.ktr", "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8());
    setSegments({{4, 2, 300}});

    const std::pair<const char*, QString> cases[] = {
        {"letter.ktr", ": " + WorkoutFiles::kUserNotRecognisedMessage},
        {"heavy.ktr", " is not a valid user file: the weight 900 is outside 80 to 300 pounds."},
        {"short.ktr", " is not a valid user file: the workout line does not end."},
    };
    for (const auto& [name, says] : cases) {
        messages.clear();
        dialogs.script(path(name));
        files.openUser();
        EXPECT_EQ(shownTexts(), QStringList{path(name) + says});
    }
    EXPECT_EQ(session.workout.count(), 1) << "the workout was not loaded";
    EXPECT_TRUE(session.userFile.isEmpty());
    EXPECT_EQ(recent.count(), 0);

    messages.clear();
    dialogs.script(path("hills.txt"));
    files.openUser();
    EXPECT_EQ(shownTexts(), QStringList{WorkoutFiles::kUserWrongExtensionMessage});
    EXPECT_EQ(messages.shown()[0].icon, Icon::Exclamation);
}

TEST_F(WorkoutFilesTest, OpenUserAsksAboutUnsavedEditsFirst)
{
    settings.SaveSetting("Kinetrova", "File", "LastFile", path("hills.txt"));
    session.modified = true;
    messages.script(Answer::No);
    files.openUser();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "hills.txt has been modified.\rDo you wish to save the modiefied file?");
    EXPECT_EQ(messages.shown()[0].icon, Icon::Question);
    EXPECT_EQ(messages.shown()[0].buttons, MessageBoxes::Buttons::YesNo);
    EXPECT_EQ(dialogs.requests().size(), 1u) << "No goes straight to the Open dialog";
}

TEST_F(WorkoutFilesTest, OpeningAWorkoutRewritesTheOpenUserFile)
{
    write("hills.txt", kHills);
    write("flat.txt", "Vexa v 1.1                \r\n1\t3\t1\t600\r\n\r\n");
    write("runner.ktr", "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8() + "\r\n150\r\n");
    ASSERT_TRUE(files.openUserFile(path("runner.ktr")));

    dialogs.script(path("flat.txt"));
    files.openWorkout();
    EXPECT_EQ(read(path("runner.ktr")),
              "Vexa v 1.1                \r\n" + path("flat.txt").toUtf8() + "\r\n150\r\n");
    EXPECT_EQ(view.caption, "runner.ktr - Kinetrova - flat.txt");
    EXPECT_EQ(recent.paths(), QStringList({path("runner.ktr"), path("flat.txt")}));

    // Saving the workout under a new name does not.
    dialogs.script(path("flat2.txt"));
    ASSERT_TRUE(files.SaveWorkoutFile(2));
    EXPECT_TRUE(read(path("runner.ktr")).contains("flat.txt\r\n"));
    EXPECT_EQ(view.caption, "runner.ktr - Kinetrova - flat2.txt");
}

TEST_F(WorkoutFilesTest, RecentEntriesOpenByTheirEnding)
{
    write("hills.txt", kHills);
    write("runner.ktr", "Vexa v 1.1                \r\n" + path("hills.txt").toUtf8() + "\r\n150\r\n");
    recent.AddRecentFile(path("notes.doc"), path("notes.doc"));
    recent.AddRecentFile(path("runner.ktr"), path("runner.ktr"));
    recent.AddRecentFile(path("hills.txt"), path("hills.txt"));

    files.openRecentFile(3); // notes.doc
    EXPECT_EQ(shownTexts(), QStringList{WorkoutFiles::kUserWrongExtensionMessage});
    messages.clear();
    files.openRecentFile(2); // runner.ktr moves to the top
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(recent.RecentFilePath(1), path("runner.ktr"));
    EXPECT_EQ(session.userFile, path("runner.ktr"));
    files.openRecentFile(2); // hills.txt, then Save User puts the user file back on top
    EXPECT_EQ(recent.paths(), QStringList({path("runner.ktr"), path("hills.txt"), path("notes.doc")}));
    EXPECT_TRUE(read(path("runner.ktr")).contains("hills.txt"));

    // A file that is gone says so and leaves the list.
    QFile::remove(path("hills.txt"));
    files.openRecentFile(2);
    EXPECT_EQ(shownTexts(),
              QStringList{path("hills.txt") + " was not found. It was removed from the recent files."});
    EXPECT_EQ(recent.paths(), QStringList({path("runner.ktr"), path("notes.doc")}));
    EXPECT_EQ(stored("MRUList", "Name3"), "");
}

TEST_F(WorkoutFilesTest, EditsAreOfferedForSavingBeforeAnotherWorkoutReplacesThem)
{
    write("hills.txt", kHills);
    EXPECT_TRUE(files.offerToSave()) << "nothing to save";
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_TRUE(files.openWorkoutFile(path("hills.txt")));
    session.workout.segment(1).setSegmentTime(999);
    session.modified = true;

    // Cancel stops File > Open before its dialog; No goes on and leaves the edits unsaved.
    messages.script(Answer::Cancel);
    files.openWorkout();
    EXPECT_EQ(shownTexts(), QStringList{"Do you want to save changes made to " + path("hills.txt") + "?"});
    EXPECT_EQ(messages.shown()[0].buttons, MessageBoxes::Buttons::YesNoCancel);
    EXPECT_EQ(messages.shown()[0].icon, Icon::Question);
    EXPECT_TRUE(dialogs.requests().empty());
    messages.script(Answer::No);
    EXPECT_TRUE(files.offerToSave());
    EXPECT_TRUE(session.modified);

    // Yes saves to the remembered file.
    EXPECT_TRUE(files.offerToSave());
    EXPECT_FALSE(session.modified);
    EXPECT_TRUE(read(path("hills.txt")).contains("\t999\r\n"));

    // Without a remembered file Yes asks for a name; cancelling that stops the
    // command: a recent entry, and File > Open User with its own question.
    settings.SaveSetting("Kinetrova", "File", "LastFile", "");
    recent.AddRecentFile(path("hills.txt"), path("hills.txt"));
    session.workout.segment(1).setSegmentTime(998);
    session.modified = true;
    messages.clear();
    files.openRecentFile(1);
    files.openUser();
    EXPECT_EQ(shownTexts(),
              QStringList({"Do you want to save changes made to workout?",
                           "default.txt has been modified.\rDo you wish to save the modiefied file?"}));
    ASSERT_EQ(dialogs.requests().size(), 2u);
    EXPECT_EQ(dialogs.requests()[0].title, "Save As");
    EXPECT_EQ(dialogs.requests()[1].title, "Save As");
    EXPECT_TRUE(session.modified);
    EXPECT_EQ(session.workout.segment(1).SegmentTime(), 998);
}

TEST_F(WorkoutFilesTest, ImportCsvMakesANewUnsavedWorkoutFittedToTheMachineAndExportCsvWritesIt)
{
    settings.SaveSetting("Kinetrova", "File", "LastFile", path("old.txt"));
    session.modified = true;
    write("hills.csv", "time,speed,incline\n1:00,6.5,2\n0:30,11,2.25\n");
    write("bad.csv", "time,speed,incline\n1:00,5,1\n0:30,fast,1\n");

    // Cancel at the question about the edits: no dialog.
    messages.script(Answer::Cancel);
    files.importTable();
    EXPECT_TRUE(dialogs.requests().empty());

    messages.script(Answer::No);
    dialogs.script(path("hills.csv"));
    files.importTable();
    EXPECT_EQ(shownTexts(),
              QStringList({"Do you want to save changes made to " + path("old.txt") + "?",
                           "Do you want to save changes made to " + path("old.txt") + "?",
                           "The workout was fitted to the machine:\r"
                           "segment 2: speed 11 -> 10, incline 2.25 -> 2"}));
    EXPECT_EQ(dialogs.requests().back().filter, "CSV files (*.csv)");
    ASSERT_EQ(session.workout.count(), 2);
    expectSegment(1, 6.5, 2, 60);
    expectSegment(2, 10, 2, 30);
    EXPECT_TRUE(session.modified);
    EXPECT_EQ(stored("File", "LastFile"), "");
    EXPECT_EQ(view.caption, "Kinetrova");

    // A refused table is named in one message and changes nothing.
    messages.clear();
    messages.script(Answer::No);
    dialogs.script(path("bad.csv"));
    files.importTable();
    EXPECT_EQ(shownTexts().last(), path("bad.csv") + ": line 3, column speed: 'fast' is not a number.");
    expectSegment(2, 10, 2, 30);

    dialogs.script(path("hills-out.csv"));
    files.exportTable();
    EXPECT_EQ(dialogs.requests().back().fileName, "workout.csv");
    EXPECT_EQ(dialogs.requests().back().defaultSuffix, "csv");
    EXPECT_EQ(read(path("hills-out.csv")), "time,speed,incline\r\n1:00,6.5,2\r\n0:30,10,2\r\n");
}

} // namespace
