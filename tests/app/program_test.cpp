// The desktop program as a whole: main window, machine window and file commands
// wired together, with scripted dialogs and settings in memory.

#include "program.h"

#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/memorysettingsstore.h"
#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "manualclock.h"

#include <QFile>
#include <QLabel>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

using namespace kntr;

namespace {

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
        : paths(QString::fromUtf8(KNTR_DATA_DIR), home.dataHome() + "/kinetrova")
    {
        // Not a first start: the machine window would wait for the user.
        settings.SaveSetting("Kinetrova", "user", "windowstate", "0");
    }

    Program& start(const QStringList& arguments = {"kinetrova"})
    {
        // The desktop's database tools are not started: they would outlive the
        // test and write into its folder after it was removed.
        program = std::make_unique<Program>(settings, paths, messages, dialogs, clock, "/usr/bin/kinetrova",
                                            false, [](const QString&, const QStringList&) {});
        program->startUp(arguments);
        return *program;
    }

    QString label(const char* name) const
    {
        const auto* l = program->window().findChild<QLabel*>(name);
        return l ? l->text() : QStringLiteral("<no %1>").arg(name);
    }

    test::ScopedXdgHome home;
    AppPaths paths;
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ManualClock clock;
    std::unique_ptr<Program> program;
};

TEST_F(ProgramTest, AnUnsavedDefaultWorkoutComesBackQuietlyWithTheChosenMachine)
{
    start();
    EXPECT_EQ(program->session().workout.count(), 10);
    EXPECT_EQ(label("lblTotalTime"), "30:00");
    EXPECT_TRUE(messages.shown().empty());
    // The user picks a metric elliptical and never saves a workout.
    MachineSelectionModel& machine = program->machineWindow();
    machine.chooseMachineType(2);
    machine.chooseUnits(1);
    machine.save();
    messages.clear(); // the calorie notice
    program->window().close();

    start();
    EXPECT_TRUE(messages.shown().empty()) << messages.shown().front().text.toStdString();
    EXPECT_EQ(program->session().workout.count(), 10);
    EXPECT_EQ(program->session().machine.MachineType(), "Elliptical");
    EXPECT_EQ(program->session().machine.units(), Units::Kilometres);
    EXPECT_EQ(label("lblTotalDist"), "1.702");
}

TEST_F(ProgramTest, TheCaptionMarksUnsavedEditsUntilTheWorkoutIsSaved)
{
    start();
    MainWindow& window = program->window();
    EXPECT_TRUE(window.windowTitle().endsWith("[*]"));
    EXPECT_FALSE(window.isWindowModified());

    auto* speed = window.findChild<QScrollBar*>("hscSelSpeed");
    ASSERT_NE(speed, nullptr);
    speed->setValue(speed->value() + 5);
    EXPECT_TRUE(window.isWindowModified()) << "an edit shows as \"*\" in the title bar";

    dialogs.script(home.path() + "/marked.txt");
    ASSERT_TRUE(program->files().SaveWorkoutFile(2));
    EXPECT_EQ(window.windowTitle(), "Kinetrova - marked.txt[*]");
    EXPECT_FALSE(window.isWindowModified());
}

TEST_F(ProgramTest, AWorkoutSavedWithItsMachineReopensOnTheNextStart)
{
    start();
    Session& session = program->session();
    session.workout.segment(2).setSegmentSpeed(6.5);
    session.modified = true;
    const QString file = home.path() + "/hills.txt";
    dialogs.script(file);
    ASSERT_TRUE(program->files().SaveWorkoutFile(2));
    EXPECT_EQ(program->window().windowTitle(), "Kinetrova - hills.txt[*]");
    program->window().close();
    EXPECT_TRUE(messages.shown().empty()) << "saved, so no question at exit";

    start();
    EXPECT_EQ(program->session().workout.segment(2).SegmentSpeed(), 6.5);
    EXPECT_EQ(program->window().windowTitle(), "Kinetrova - hills.txt[*]");
    EXPECT_FALSE(program->session().modified);
    EXPECT_EQ(program->recentFiles().RecentFilePath(1), file);
}

TEST_F(ProgramTest, AUserFileOnTheCommandLineBringsItsWorkoutAndWeight)
{
    const QString workout = home.path() + "/run.txt";
    {
        start();
        dialogs.script(workout);
        ASSERT_TRUE(program->files().SaveWorkoutFile(2));
        program->window().close();
    }
    const QString user = home.path() + "/runner.ktr";
    QFile f(user);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Vexa v 1.1                \r\n" + workout.toUtf8() + "\r\n150\r\n");
    f.close();

    start({"kinetrova", "\"" + user + "\""});
    EXPECT_EQ(program->session().userFile, user);
    EXPECT_EQ(program->session().weightPounds, 150);
    EXPECT_EQ(program->window().windowTitle(), "runner.ktr - Kinetrova - run.txt[*]");
}

TEST_F(ProgramTest, AUserFileWhoseWorkoutIsGoneStartsOnTheDefaultWorkout)
{
    const QString user = home.path() + "/runner.ktr";
    const QString gone = home.path() + "/hills.txt";
    QFile f(user);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Vexa v 1.1                \r\n" + gone.toUtf8() + "\r\n170\r\n");
    f.close();
    settings.SaveSetting("Kinetrova", "File", "LastFile", gone);

    start({"kinetrova", user});
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, WorkoutFiles::kNotFoundMessage);
    EXPECT_EQ(program->session().userFile, user);
    EXPECT_EQ(program->session().weightPounds, 170);
    EXPECT_EQ(program->session().workout.count(), 10) << "the default workout, as the message says";
    EXPECT_EQ(label("lblTotalTime"), "30:00");
    EXPECT_EQ(program->window().windowTitle(), "runner.ktr - Kinetrova[*]");
    // A later Save goes to the default workout's file, never over the missing workout's name.
    EXPECT_EQ(settings.GetSetting("Kinetrova", "File", "LastFile"), paths.userDataDir() + "/default.txt");
}

TEST_F(ProgramTest, AnOldFileWithAbsurdValuesIsFittedToTheMachine)
{
    const QString file = home.path() + "/wild.txt";
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Vexa v 1.1                \r\n1\t1e12\t-1e12\t60\r\n\r\n");
    f.close();
    settings.SaveSetting("Kinetrova", "File", "LastFile", file);

    start();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(program->session().workout.segment(1).SegmentSpeed(), 10.0);
    EXPECT_EQ(program->session().workout.segment(1).SegmentIncline(), 1.0);
}

} // namespace
