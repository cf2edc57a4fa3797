#include "editor/editor.h"
#include "editor/mainlifecycle.h"

#include "model/runoptions.h"
#include "model/totals.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "fakefilecommands.h"
#include "manualclock.h"
#include "recordingworkoutview.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class MainLifecycleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        lifecycle.attachFileCommands(&files);
        lifecycle.attachMachineSelection(&machine);
        lifecycle.loadMachineProfile();
    }

    test::ScopedXdgHome home;
    Session session;
    MemorySettingsStore settings;
    AppPaths paths{QStringLiteral("/usr/share/kinetrova"), home.dataHome() + QStringLiteral("/kinetrova")};
    ScriptedMessageBoxes messages;
    ManualClock clock;
    RunOptions options{settings};
    Editor editor{session, settings, messages, clock};
    RecordingWorkoutView view;
    FakeFileCommands files{session};
    FakeMachineSelection machine{session, settings};
    MainLifecycle lifecycle{session, settings, paths, editor, view, options};
};

TEST_F(MainLifecycleTest, StartUpChoosesTheWorkout)
{
    using Start = MainLifecycle::StartWorkout;
    struct Case {
        const char* name;
        QStringList arguments;
        bool userFileLoads;
        bool userWorkoutLoads;
        QString lastFile;
        bool lastWorkoutLoads;
        Start expected;
        QStringList lastOpened;
        QString caption;
    };
    const QString unsavedDefault = defaultWorkoutPath(paths.userDataDir());
    const Case cases[] = {
        {"user file with its workout",
         {"kinetrova", "\"/u/ann b.ktr\""},
         true,
         true,
         "/w/run.txt",
         true,
         Start::UserFile,
         {},
         {}},
        {"user file whose workout is gone",
         {"kinetrova", "/u/ann.ktr"},
         true,
         false,
         "/w/run.txt",
         true,
         Start::Default,
         {},
         "ann.ktr - Kinetrova"},
        {"unreadable user file",
         {"kinetrova", "/u/gone.ktr"},
         false,
         false,
         "/w/run.txt",
         true,
         Start::Default,
         {},
         {}},
        {"last workout",
         {"kinetrova"},
         false,
         false,
         "/w/run.txt",
         true,
         Start::LastWorkout,
         {"/w/run.txt"},
         {}},
        {"last workout unreadable",
         {"kinetrova"},
         false,
         false,
         "/w/run.txt",
         false,
         Start::Default,
         {"/w/run.txt"},
         {}},
        {"default never saved", {"kinetrova"}, false, false, unsavedDefault, true, Start::Default, {}, {}},
        {"nothing remembered", {"kinetrova"}, false, false, "", true, Start::Default, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        session = Session();
        view = RecordingWorkoutView();
        files.lastWorkoutsOpened.clear();
        files.registrations = 0;
        settings.SaveSetting(kAppName, "File", "LastFile", c.lastFile);
        settings.SaveSetting(kAppName, "user", "weight", "200");
        settings.SaveSetting("Lumaventa", "File", "LastFile", "c:\\old.txt");
        files.userFileLoads = c.userFileLoads;
        files.userWorkoutLoads = c.userWorkoutLoads;
        files.lastWorkoutLoads = c.lastWorkoutLoads;
        session.modified = true;

        EXPECT_EQ(lifecycle.loadWorkout(c.arguments), c.expected);
        EXPECT_EQ(files.lastWorkoutsOpened, c.lastOpened);
        EXPECT_EQ(view.caption, c.caption);
        EXPECT_FALSE(session.modified);
        EXPECT_EQ(files.registrations, 1);
        // Without a readable user file the stored weight counts; the earlier
        // release's settings go only at a plain start.
        if (!c.userFileLoads) {
            EXPECT_TRUE(session.userFile.isEmpty());
            EXPECT_EQ(session.weightPounds, 200);
        }
        EXPECT_EQ(settings.GetSetting("Lumaventa", "File", "LastFile").isEmpty(), c.arguments.size() == 1);
        if (c.expected == Start::Default) {
            EXPECT_EQ(minutesSecondsText(session.workout.segment(1).SegmentTime()), "1:00");
        }
    }
    EXPECT_EQ(machine.verifications, 7);
}

TEST_F(MainLifecycleTest, AGeneratedWorkoutIsReplacedWithoutAQuestionUntilTheUserEditsIt)
{
    Workout generated;
    generated.setCount(3);
    generated.segment(2).setSegmentSpeed(5);

    session.modified = true; // an edited workout: Make Workout asks first
    files.calls.clear();
    ASSERT_TRUE(lifecycle.useWorkout(generated));
    EXPECT_EQ(files.calls, QStringList({"offerToSave"}));
    EXPECT_TRUE(session.modified) << "a generated workout is not saved yet";

    // Made again without an edit in between: no question.
    files.calls.clear();
    ASSERT_TRUE(lifecycle.useWorkout(generated));
    EXPECT_TRUE(files.calls.isEmpty());

    // An edit of the generated workout brings the question back, and No keeps it.
    editor.insertCopyOfCurrent();
    files.mayReplace = false;
    EXPECT_FALSE(lifecycle.useWorkout(generated));
    EXPECT_EQ(files.calls, QStringList({"offerToSave"}));
    EXPECT_EQ(session.workout.count(), 4);
}

TEST_F(MainLifecycleTest, RunOptionsReadWhatTheMenuOffers)
{
    struct Case {
        const char *voice, *delay, *beeps;
        bool voiceOn;
        int delaySeconds, beepCount;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, true, 10, 1},
        {"0", "5", "2", false, 5, 2},
        {"1", "20", "1", true, 20, 1},
        {"yes", "7", "3", false, 10, 2}, // values no menu entry offers
    };
    for (const Case& c : cases) {
        settings.DeleteSetting(kAppName, "options");
        if (c.voice) {
            settings.SaveSetting(kAppName, "options", "VoiceCues", c.voice);
            settings.SaveSetting(kAppName, "options", "Delay", c.delay);
            settings.SaveSetting(kAppName, "options", "Beeps", c.beeps);
        }
        options.load();
        EXPECT_EQ(options.voiceCues(), c.voiceOn) << c.voice;
        EXPECT_EQ(options.delaySeconds(), c.delaySeconds) << c.delay;
        EXPECT_EQ(options.beeps(), c.beepCount) << c.beeps;
    }
    options.setDelaySeconds(20);
    options.setBeeps(2);
    options.setVoiceCues(false);
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "Delay"), "20");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "Beeps"), "2");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "VoiceCues"), "0");
}

TEST_F(MainLifecycleTest, ResetLeavesNothingOfTheClearedSettingsInMemory)
{
    settings.SaveSetting(kAppName, "Machine", "MachineType", "Bike");
    settings.SaveSetting(kAppName, "options", "Delay", "20");
    lifecycle.loadMachineProfile();
    lifecycle.loadWorkout({"kinetrova"});
    files.recent = {"/w/run.txt"};
    view.caption = "Kinetrova - run.txt";

    lifecycle.resetSettings();
    EXPECT_EQ(settings.GetSetting(kAppName, "Machine", "MachineType", "none"), "none");
    EXPECT_EQ(session.machine.MachineType(), "Treadmill");
    EXPECT_EQ(options.delaySeconds(), 10);
    EXPECT_TRUE(files.recent.isEmpty());
    EXPECT_EQ(view.caption, "Kinetrova");
}

} // namespace
