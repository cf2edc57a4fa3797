#include "editor/ui/axiscaption.h"
#include "editor/ui/mainwindow.h"
#include "editor/ui/profilegraph.h"
#include "editor/windowplacement.h"

#include "model/runoptions.h"
#include "runner/levelswitch.h"
#include "runner/runengine.h"
#include "runner/runmusic.h"
#include "tones/controltones.h"
#include "tones/mcicommands.h"
#include "tones/voicecues.h"
#include "fakecddevice.h"
#include "recordingmediaplayer.h"
#include "recordingwaveplayer.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/clock.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"
#include "fakefilecommands.h"
#include "platform/settingsstore.h"
#include "testenv.h"
#include "manualclock.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using namespace kntr;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }

    MainWindow& window()
    {
        if (!mWindow)
            mWindow = std::make_unique<MainWindow>(session, settings, paths, messages, clock, options);
        return *mWindow;
    }

    void start(const QStringList& arguments = {QStringLiteral("kinetrova")})
    {
        window().startUp(arguments);
        QCoreApplication::processEvents();
    }

    template<typename T = QWidget> T* find(const QString& name)
    {
        T* w = window().findChild<T*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString text(const QString& name)
    {
        if (auto* edit = window().findChild<QLineEdit*>(name))
            return edit->text();
        auto* label = find<QLabel>(name);
        return label ? label->text() : QString();
    }
    QAction* action(const QString& name) { return find<QAction>(name); }
    /// Where a widget stands in the window, however deep it sits.
    QRect placed(const QString& name)
    {
        auto* w = find<QWidget>(name);
        return w ? QRect(w->mapTo(&window(), QPoint(0, 0)), w->size()) : QRect();
    }

    /// Captions of the visible entries of a menu, separators as "-".
    QStringList visibleEntries(const QString& menuName)
    {
        QStringList out;
        auto* menu = find<QMenu>(menuName);
        emit menu->aboutToShow();
        for (QAction* a : menu->actions()) {
            if (!a->isVisible())
                continue;
            if (a->isSeparator()) {
                if (!out.isEmpty() && out.last() != "-")
                    out << "-";
            } else {
                out << a->text();
            }
        }
        if (!out.isEmpty() && out.last() == "-")
            out.removeLast();
        return out;
    }

    QPoint pointInSegment(int index)
    {
        auto* graph = find<ProfileGraph>("picBox");
        int x = 1; // the graph's frame
        for (int i = 1; i < index; ++i)
            x += graph->columnWidths()[i - 1] + 1;
        return QPoint(x + 1, graph->height() - 3);
    }

    test::ScopedXdgHome home;
    Session session;
    MemorySettingsStore settings;
    AppPaths paths{QStringLiteral(KNTR_DATA_DIR), QStringLiteral("/home/ann/.local/share/kinetrova")};
    ScriptedMessageBoxes messages;
    ManualClock clock;
    RunOptions options{settings};
    FakeFileCommands files{session};
    std::unique_ptr<MainWindow> mWindow;
};

TEST_F(MainWindowTest, FirstStartShowsTheDefaultWorkoutCentred)
{
    FakeMachineSelection machine(session, settings);
    window().attachMachineSelection(&machine);
    start();

    const QScreen* screen = window().screen();
    const double dpi = screen->logicalDotsPerInchY();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().size(), QSize(twipsToPixels(8800, dpi), twipsToPixels(5800, dpi)));
    EXPECT_LE((window().geometry().center() - screen->availableGeometry().center()).manhattanLength(), 2);

    EXPECT_EQ(text("lblTotalTime"), "30:00");
    EXPECT_EQ(text("lblTotalDist"), "1.467");
    EXPECT_EQ(text("lblwoMiles"), "Miles");
    EXPECT_EQ(text("txtSelSegment"), "1");
    EXPECT_EQ(text("txtSelSpeed"), "1");
    EXPECT_EQ(text("txtSelTime"), "1:00");
    EXPECT_EQ(text("txtPounds"), "160");
    EXPECT_EQ(text("lblSpeed"), "Speed");
    EXPECT_EQ(text("lblYscale0"), "10-");
    EXPECT_EQ(text("lblY2scale5"), "-0");
    EXPECT_EQ(text("lblXnum2"), "15:00");
    EXPECT_TRUE(find<QWidget>("picYlbl")->isVisible());
    EXPECT_EQ(find<AxisCaption>("picYlbl")->text(), "Speed");
    EXPECT_EQ(find<AxisCaption>("picY2lbl")->text(), "Incline");
    EXPECT_EQ(window().windowTitle(), "Kinetrova");
    EXPECT_FALSE(session.modified);

    EXPECT_TRUE(action("mnuOptionVoiceOn")->isChecked());
    EXPECT_TRUE(action("mnuOptionBeep1")->isChecked());
    EXPECT_TRUE(action("mnuOptionDelay10")->isChecked());
    EXPECT_TRUE(action("mnuOptionMiles")->isChecked());
    EXPECT_EQ(machine.loads, 1);
    EXPECT_EQ(machine.verifications, 1);
    EXPECT_EQ(machine.shown, 1); // the user picks the equipment on a first start
}

TEST_F(MainWindowTest, LaterStartRestoresPlacementAndOptions)
{
    settings.SaveSetting(kAppName, "user", "windowstate", "0");
    settings.SaveSetting(kAppName, "user", "frmMainLeft", "1500");
    settings.SaveSetting(kAppName, "user", "frmMainTop", "750");
    settings.SaveSetting(kAppName, "user", "frmMainWidth", "10500");
    settings.SaveSetting(kAppName, "user", "frmMainHeight", "7500");
    settings.SaveSetting(kAppName, "options", "Beeps", "2");
    settings.SaveSetting(kAppName, "options", "Delay", "20");
    settings.SaveSetting(kAppName, "options", "VoiceCues", "0");
    settings.SaveSetting(kAppName, "user", "weight", "200");
    FakeMachineSelection machine(session, settings);
    window().attachMachineSelection(&machine);
    start();

    const double dpi = window().screen()->logicalDotsPerInchY();
    EXPECT_EQ(window().size(), QSize(twipsToPixels(10500, dpi), twipsToPixels(7500, dpi)));
    EXPECT_TRUE(action("mnuOptionBeep2")->isChecked());
    EXPECT_TRUE(action("mnuOptionDelay20")->isChecked());
    EXPECT_TRUE(action("mnuOptionVoiceOff")->isChecked());
    EXPECT_EQ(text("txtPounds"), "200");
    EXPECT_EQ(machine.shown, 0);
}

TEST_F(MainWindowTest, MenusShowOnlyWhatWorks)
{
    start();
    EXPECT_EQ(visibleEntries("mnuFile"), QStringList({"&New Workout", "-", "&Print...", "-", "E&xit"}));
    EXPECT_EQ(visibleEntries("mnuOptions"),
              QStringList({"&Voice Cues On", "Voice Cues O&ff", "-", "Delay start &5 seconds",
                           "Delay start &10 seconds", "Delay start &20 seconds", "-", "Beep &once",
                           "Beep &twice", "-", "&Miles and pounds", "&Kilometers and kilograms"}));
    EXPECT_EQ(visibleEntries("mnuHelp"), QStringList({"&Contents...", "&About..."}));
    QStringList bar;
    for (QAction* a : window().menuBar()->actions())
        if (a->isVisible())
            bar << a->text();
    EXPECT_EQ(bar, QStringList({"&File", "&Options", "&Help"}));
}

TEST_F(MainWindowTest, AttachedCommandsFillTheMenus)
{
    FakeMachineSelection machine(session, settings);
    files.recent = {"/w/run.txt", "/w/hill.txt"};
    window().attachFileCommands(&files);
    window().attachMachineSelection(&machine);
    start();
    EXPECT_EQ(visibleEntries("mnuFile"),
              QStringList({"&New Workout", "-", "&Open Workout...", "&Save Workout", "Save Workout &As...",
                           "&Import CSV...", "Expor&t CSV...", "-", "O&pen User...", "Sa&ve User",
                           "Sav&e User As...", "-", "&Print...", "-", "&1 /w/run.txt", "&2 /w/hill.txt", "-",
                           "E&xit"}));
    EXPECT_EQ(visibleEntries("mnuOptions").last(), "&Select Equipment...");
    for (const char* entry :
         {"mnuFileSaveAs", "mnuFileImport", "mnuFileExport", "mnuFileOpenUser", "mnuFileMRU2"})
        action(entry)->trigger();
    EXPECT_EQ(files.calls,
              QStringList({"saveWorkoutAs", "importTable", "exportTable", "openUser", "openRecent2"}));
    // The standard keys reach the file commands.
    files.calls.clear();
    window().activateWindow();
    QTest::keyClick(&window(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(&window(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(files.calls, QStringList({"openWorkout", "saveWorkout", "saveWorkoutAs"}));
    action("mnuOptionEquipment")->trigger();
    EXPECT_EQ(machine.shown, 2); // first start, then the menu
    EXPECT_EQ(files.registrations, 1);
}

TEST_F(MainWindowTest, OptionsAreRadioChoicesThatPersist)
{
    start();
    action("mnuOptionBeep2")->trigger();
    EXPECT_FALSE(action("mnuOptionBeep1")->isChecked());
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "Beeps"), "2");
    action("mnuOptionDelay5")->trigger();
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "Delay"), "5");
    EXPECT_FALSE(action("mnuOptionDelay10")->isChecked());
    action("mnuOptionVoiceOff")->trigger();
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "VoiceCues"), "0");
}

TEST_F(MainWindowTest, UnitSwitchFromTheMenu)
{
    start();
    action("mnuOptionKilometers")->trigger();
    EXPECT_TRUE(action("mnuOptionKilometers")->isChecked());
    EXPECT_FALSE(action("mnuOptionMiles")->isChecked());
    EXPECT_EQ(text("lblwoMiles"), "km");
    EXPECT_EQ(text("lblTotalDist"), "2.361");
    EXPECT_EQ(text("lblYscale0"), "16.1-");
    EXPECT_EQ(text("txtPounds"), "72.6");
    EXPECT_EQ(settings.GetSetting(kAppName, "options", "Units"), "Kilos");
    action("mnuOptionMiles")->trigger();
    EXPECT_EQ(text("lblTotalDist"), "1.467");
    EXPECT_EQ(text("lblYscale0"), "10-");
}

TEST_F(MainWindowTest, KeysInTheBoxes)
{
    start();
    auto* time = find<QLineEdit>("txtSelTime");
    QTest::keyClick(time, Qt::Key_PageUp);
    EXPECT_EQ(time->text(), "1:10");
    EXPECT_EQ(text("lblTotalTime"), "30:10");
    EXPECT_EQ(find<QScrollBar>("hscSelTime")->value(), 70);
    EXPECT_TRUE(session.modified);
    QTest::keyClicks(time, "99");
    EXPECT_EQ(time->text(), "1:10"); // typing is ignored

    auto* segment = find<QLineEdit>("txtSelSegment");
    QTest::keyClick(segment, Qt::Key_Up);
    QTest::keyClick(segment, Qt::Key_Right);
    EXPECT_EQ(segment->text(), "3");
    EXPECT_EQ(text("txtSelSpeed"), "4");
    EXPECT_EQ(text("lblSegDist"), "0.267 mi");

    auto* speed = find<QLineEdit>("txtSelSpeed");
    QTest::keyClick(speed, Qt::Key_Down);
    EXPECT_EQ(speed->text(), "3.9");
    EXPECT_TRUE(speed->hasFocus()); // the changed box is the active one
    EXPECT_EQ(speed->selectedText(), "3.9");

    auto* pounds = find<QLineEdit>("txtPounds");
    QTest::keyClick(pounds, Qt::Key_PageUp);
    EXPECT_EQ(pounds->text(), "161");
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "weight"), "161");
}

TEST_F(MainWindowTest, ScrollBarsAndButtons)
{
    start();
    find<QScrollBar>("hscSelSpeed")->setValue(55);
    EXPECT_EQ(text("txtSelSpeed"), "5.5");
    QTest::mouseClick(find<QAbstractButton>("btnAddSegment"), Qt::LeftButton);
    EXPECT_EQ(text("txtSelSegment"), "2");
    EXPECT_EQ(text("txtSelSpeed"), "5.5");
    EXPECT_EQ(find<QScrollBar>("hscSelSegment")->maximum(), 11);
    EXPECT_EQ(text("lblTotalTime"), "31:00");
    QTest::mouseClick(find<QAbstractButton>("btnDelSegment"), Qt::LeftButton);
    EXPECT_EQ(text("lblTotalTime"), "30:00");
    EXPECT_EQ(text("txtSelSpeed"), "2");
}

TEST_F(MainWindowTest, SpeedLabelTogglesPace)
{
    start();
    find<QScrollBar>("hscSelSpeed")->setValue(60);
    QTest::mouseClick(find<QLabel>("lblSpeed"), Qt::LeftButton);
    EXPECT_EQ(text("lblSpeed"), "1/Speed");
    EXPECT_EQ(text("txtSelSpeed"), "10");
    EXPECT_TRUE(find<QWidget>("picYKlbl")->isVisible());
    EXPECT_FALSE(find<QWidget>("picYlbl")->isVisible());
    EXPECT_EQ(find<AxisCaption>("picYKlbl")->text(), "1/Speed");
}

TEST_F(MainWindowTest, GraphClicksAndDrags)
{
    start();
    auto* graph = find<QWidget>("picBox");
    QTest::mouseClick(graph, Qt::LeftButton, {}, pointInSegment(4));
    EXPECT_EQ(text("txtSelSegment"), "4");
    EXPECT_EQ(text("txtSelTime"), "8:00");
    EXPECT_FALSE(session.modified);

    // Right click: speed becomes what dragging changes; drag upwards.
    QTest::mouseClick(graph, Qt::RightButton, {}, pointInSegment(4));
    EXPECT_TRUE(find<QWidget>("txtSelSpeed")->hasFocus());
    const QPoint p = pointInSegment(4);
    QTest::mousePress(graph, Qt::LeftButton, {}, p);
    QTest::mouseMove(graph, p - QPoint(0, 10));
    QTest::mouseMove(graph, p - QPoint(0, 20));
    QTest::mouseRelease(graph, Qt::LeftButton, {}, p - QPoint(0, 20));
    EXPECT_EQ(text("txtSelSpeed"), "3.2");
    EXPECT_TRUE(session.modified);
}

TEST_F(MainWindowTest, NewWorkout)
{
    start();
    action("mnuFileNew")->trigger();
    EXPECT_EQ(session.workout.count(), 1);
    EXPECT_EQ(text("lblTotalTime"), "1:00");
    EXPECT_EQ(text("lblXnum4"), "1:00");
    EXPECT_EQ(find<QScrollBar>("hscSelSegment")->maximum(), 1);
    EXPECT_EQ(settings.GetSetting(kAppName, "File", "LastFile"), "");
    EXPECT_EQ(window().windowTitle(), "Kinetrova");
}

TEST_F(MainWindowTest, NewAndExitLetTheFileCommandsAskFirst)
{
    window().attachFileCommands(&files);
    start();
    QTest::keyClick(find<QWidget>("txtSelSpeed"), Qt::Key_Up);
    files.mayReplace = false; // the user cancelled, or the save failed
    action("mnuFileNew")->trigger();
    EXPECT_EQ(session.workout.count(), 10);
    EXPECT_FALSE(window().close());
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(session.modified);

    files.mayReplace = true;
    action("mnuFileNew")->trigger();
    EXPECT_EQ(session.workout.count(), 1);
    EXPECT_FALSE(session.modified);
    EXPECT_TRUE(window().close());
    EXPECT_EQ(files.calls, QStringList({"offerToSave", "offerToSave", "offerToSave", "offerToSave"}));
}

/// The sound side of a run, with doubles, attached to the window.
struct RunParts {
    struct Levels : LevelSwitch {
        void useLevel(SoundLevel) override { }
    };
    RunParts(Session& session, SettingsStore& settings, RunOptions& options, ManualClock& clock,
             ScriptedMessageBoxes& messages, MainWindow& window)
        : mSession(session)
        , tones(session.machine)
        , player(clock)
        , cues(QStringLiteral(KNTR_DATA_DIR "/voicecue"))
        , cd(clock)
        , mci(cd, messages)
        , media(clock)
        , music(settings, cd, mci, media, levels, clock)
        , engine(session, settings, options, clock, {tones, player, cues, music, levels}, messages, window)
    {
        MainWindow::RunParts parts;
        parts.engine = &engine;
        parts.music = &music;
        parts.releaseDevices = [this] { ++releases; };
        window.attachRun(parts);
    }
    int stopTones() const
    {
        const QByteArray stop = ControlTones(mSession.machine).MakeControlTone(252, 252, false);
        return static_cast<int>(std::count_if(player.calls().begin(), player.calls().end(),
                                              [&](const auto& call) { return call.image == stop; }));
    }
    const Session& mSession;
    ControlTones tones;
    RecordingWavePlayer player;
    VoiceCues cues;
    FakeCdDevice cd;
    MciCommands mci;
    RecordingMediaPlayer media;
    Levels levels;
    RunMusic music;
    RunEngine engine;
    int releases = 0;
};

TEST_F(MainWindowTest, StartCountsDownRunsAndStopStops)
{
    settings.SaveSetting(kAppName, "options", "Delay", "5");
    RunParts run(session, settings, options, clock, messages, window());
    start();
    EXPECT_EQ(visibleEntries("mnuAudio"),
              QStringList({"&None", "&CD-ROM", "&Play list...", "-", "&Volume..."}));
    EXPECT_TRUE(action("mnuAudioType1")->isChecked());

    QString countdown;
    bool windowDisabled = false, menusDisabled = false, editingDisabled = false;
    clock.at(2000, [&] {
        auto* getReady = window().findChild<QWidget*>("frmGetReady");
        ASSERT_NE(getReady, nullptr);
        EXPECT_TRUE(getReady->isVisible());
        countdown = getReady->findChild<QLabel*>("lblGetReady")->text();
        windowDisabled = !window().isEnabled();
    });
    clock.at(30000, [&] {
        menusDisabled = !window().findChild<QMenu*>("mnuFile")->menuAction()->isEnabled()
            && !window().findChild<QMenu*>("mnuOptions")->menuAction()->isEnabled()
            && !window().findChild<QMenu*>("mnuAudio")->menuAction()->isEnabled();
        editingDisabled =
            !find<QWidget>("txtSelSpeed")->isEnabled() && !find<QWidget>("cmdResume")->isEnabled();
        EXPECT_EQ(find<QPushButton>("cmdStart")->text(), "&Stop");
        EXPECT_NE(text("lblTime"), "0:00");
        QTest::keyClick(&window(), Qt::Key_N, Qt::ControlModifier); // no File > New during a run
        EXPECT_EQ(session.workout.count(), 10);
        find<QPushButton>("cmdStart")->click(); // Stop
    });
    find<QPushButton>("cmdStart")->click();
    ASSERT_TRUE(clock.runUntil([&] { return !run.engine.isRunning(); }));

    EXPECT_EQ(countdown, "Workout starts in\n3 seconds");
    EXPECT_TRUE(windowDisabled);
    EXPECT_TRUE(menusDisabled);
    EXPECT_TRUE(editingDisabled);
    EXPECT_EQ(run.stopTones(), 1);
    EXPECT_EQ(find<QPushButton>("cmdStart")->text(), "&Start");
    EXPECT_EQ(find<QPushButton>("cmdStart")->toolTip(), "Start workout at segment 1.");
    EXPECT_TRUE(find<QWidget>("txtSelSpeed")->isEnabled());
    EXPECT_TRUE(window().findChild<QMenu*>("mnuFile")->menuAction()->isEnabled());
    EXPECT_EQ(text("lblTime"), "0:00");
}

TEST_F(MainWindowTest, StartUpRestoresTheMusicSource)
{
    settings.SaveSetting(kAppName, "audio", "volOption", "3");
    RunParts run(session, settings, options, clock, messages, window());
    start();
    EXPECT_TRUE(action("mnuAudioType2")->isChecked());
    EXPECT_EQ(run.music.audioType(), RunMusic::kCd);
}

TEST_F(MainWindowTest, ClosingDuringARunStopsTheConsoleFirst)
{
    settings.SaveSetting(kAppName, "options", "Delay", "5");
    RunParts run(session, settings, options, clock, messages, window());
    start();
    clock.at(20000, [&] { window().close(); });
    find<QPushButton>("cmdStart")->click();
    ASSERT_TRUE(clock.runUntil([&] { return !run.engine.isRunning(); }));
    EXPECT_EQ(run.stopTones(), 1);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(run.releases, 1);
}

TEST_F(MainWindowTest, ExitStoresThePlacement)
{
    start();
    window().resize(700, 480);
    EXPECT_TRUE(window().close());
    const double dpi = window().screen()->logicalDotsPerInchY();
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "windowstate"), "0");
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "frmMainWidth"),
              QString::number(pixelsToTwips(700, dpi)));
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "frmMainHeight"),
              QString::number(pixelsToTwips(480, dpi)));
    EXPECT_TRUE(messages.shown().empty()); // nothing was edited
}

TEST_F(MainWindowTest, StartsInKilometresAndPace)
{
    settings.SaveSetting(kAppName, "Options", "Units", "Kilos");
    settings.SaveSetting(kAppName, "options", "distMode", "invert");
    start();
    EXPECT_TRUE(action("mnuOptionKilometers")->isChecked());
    EXPECT_EQ(text("lblSpeed"), "1/Speed");
    EXPECT_EQ(text("txtSelSpeed"), "37.3"); // 60 / 1.61
    EXPECT_EQ(text("lblYscale0"), "16.1-");
    EXPECT_FALSE(session.modified);
}

TEST_F(MainWindowTest, EllipticalProfile)
{
    settings.SaveSetting(kAppName, "Machine", "MachineType", "Elliptical");
    settings.SaveSetting(kAppName, "Machine", "SpeedMax", "120");
    settings.SaveSetting(kAppName, "Machine", "InclineMax", "300");
    settings.SaveSetting(kAppName, "Options", "Units", "Kilos");
    start();
    EXPECT_EQ(text("lblSpeed"), "Resist.");
    EXPECT_EQ(text("lblIncline"), "Incline");
    EXPECT_EQ(text("lblYscale0"), "12-"); // a resistance is never shown in km/h
    EXPECT_EQ(text("lblY2scale0"), "-30");
    EXPECT_EQ(find<AxisCaption>("picYlbl")->text(), "Resistance");
    EXPECT_EQ(find<AxisCaption>("picY2lbl")->text(), "Incline");
}

TEST_F(MainWindowTest, ArrangementFollowsTheWindowSize)
{
    start();
    EXPECT_EQ(window().arrangement(), Arrangement::Wide);
    window().resize(450, 420);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().arrangement(), Arrangement::Compact);
    for (const QString& name : {QString("fraSegment"), QString("fraTotals")})
        EXPECT_FALSE(placed(name).intersects(placed("picBox"))) << name.toStdString();
    EXPECT_FALSE(placed("fraSegment").intersects(placed("fraTotals")));
    window().resize(800, 560);
    QCoreApplication::processEvents();
    EXPECT_EQ(window().arrangement(), Arrangement::Wide);
    EXPECT_FALSE(placed("fraTotals").intersects(placed("picBox")));
}

TEST_F(MainWindowTest, HelpOpensTheManualAndClosesAtExit)
{
    start();
    action("mnuHelpContents")->trigger();
    QWidget* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Kinetrova Help")
            help = w;
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(messages.shown().empty());
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(area.contains(help->frameGeometry())) << "the manual opens within the screen";
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_FALSE(help->isVisible()) << "Esc closes the manual";

    action("mnuHelpContents")->trigger();
    help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == "Kinetrova Help")
            help = w;
    ASSERT_NE(help, nullptr);
    QPointer<QWidget> watch(help);
    EXPECT_TRUE(window().close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watch.isNull() || !watch->isVisible());
}

TEST_F(MainWindowTest, MissingHelpIsReported)
{
    paths = AppPaths("/nonexistent", "/home/ann/.local/share/kinetrova");
    start();
    action("mnuHelpContents")->trigger();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("To use help: \r\rthe file \"index.html\""));
}

TEST_F(MainWindowTest, AboutShowsTheBuildAndClearsTheSettings)
{
    settings.SaveSetting(kAppName, "Machine", "MachineType", "Bike");
    settings.SaveSetting("Lumaventa", "File", "LastDirectory", "c:\\");
    files.recent = {"/w/run.txt"};
    window().attachFileCommands(&files);
    start();
    window().setCaption("Kinetrova - run.txt");
    QString version, credit;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "About Kinetrova");
        version = dialog->findChild<QLabel*>("lblVersion")->text();
        credit = dialog->findChild<QLabel*>("lblCredit")->text();
        auto* reset = dialog->findChild<QAbstractButton*>("cmdReset");
        EXPECT_EQ(reset->text(), "Clear Kinetrova from registry");
        reset->click();
        dialog->accept();
    });
    action("mnuHelpAbout")->trigger();
    EXPECT_TRUE(version.contains("build"));
    EXPECT_TRUE(credit.contains("LAME"));
    EXPECT_EQ(settings.GetSetting(kAppName, "Machine", "MachineType", "none"), "none");
    EXPECT_EQ(settings.GetSetting("Lumaventa", "File", "LastDirectory"), "");
    EXPECT_EQ(session.machine.MachineType(), "Treadmill");
    EXPECT_EQ(text("lblSpeed"), "Speed");
    // Nothing of the cleared settings is left on screen to be written back.
    EXPECT_EQ(visibleEntries("mnuFile").filter("/w/run.txt"), QStringList());
    EXPECT_EQ(window().windowTitle(), "Kinetrova");
}

} // namespace
