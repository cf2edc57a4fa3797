#pragma once

#include "editor/editor.h"
#include "editor/mainlifecycle.h"
#include "editor/windowplacement.h"

#include "model/workoutview.h"
#include "runner/runview.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QMenu;
class QStackedWidget;

namespace kntr {

class AppPaths;
class Clock;
class FileCommands;
class GetReadyWindow;
class HelpWindow;
class EquipmentSelection;
class MainMenus;
class MessageBoxes;
class ProfileView;
class RunEngine;
class RunMusic;
class RunDisplay;
class RunOptions;
class SegmentPanel;
class SettingsStore;
class TotalsPanel;
struct Session;

/// The main window (frmMain): the profile view, the "Segment Design" and
/// "Workout Totals" frames and the menus, with start-up and exit.
///
/// Editing itself is the Editor's, and each panel (src/editor/ui) mirrors it;
/// the window assembles the panels, places them for its size, and carries out
/// the menus' commands, the workout view and the run view by forwarding; a
/// run shows in the run display, and F11 toggles full screen. The
/// file commands and the machine selection window are attached once they exist
/// (attachFileCommands, attachMachineSelection); until then their menu entries
/// stay hidden.
class MainWindow : public QMainWindow, public WorkoutView, public RunView {
    Q_OBJECT

public:
    MainWindow(Session& session, SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages,
               Clock& clock, RunOptions& options, QWidget* parent = nullptr);
    ~MainWindow() override;

    /// Shows the workout and user-file entries of the File menu and lets start-up
    /// load files and exit save the workout through commands (which must outlive the window).
    void attachFileCommands(FileCommands* commands);
    /// Shows "Select Equipment..." and lets start-up load the profile and fit the
    /// workout through selection (which must outlive the window).
    void attachMachineSelection(EquipmentSelection* selection);

    /// What a live run needs of the program besides the window.
    struct RunParts {
        RunEngine* engine = nullptr;
        RunMusic* music = nullptr;
        /// Opens the play-list window modally.
        std::function<void()> editPlayList;
        /// Shows the volume window.
        std::function<void()> showVolume;
        /// At exit: the mixer back to the main level, the CD released.
        std::function<void()> releaseDevices;
    };
    /// Shows the run buttons and the Audio menu (the parts must outlive the window).
    void attachRun(RunParts parts);

    /// The File menu's commands that open windows of other parts of the program.
    struct MoreCommands {
        /// "&Random Workout...": the generator window, modally.
        std::function<void()> randomWorkout;
        /// Start hides the generator window when it is open.
        std::function<void()> hideRandomWorkout;
        /// "Create &MP3 File..." (0) and "Create &WAV File..." (1): the workout file builder.
        std::function<void(int type)> createWorkoutFile;
    };
    /// Shows the entries whose command is given.
    void attachCommands(MoreCommands commands);

    /// File > New: a fresh one-segment workout, after the question about unsaved
    /// edits. Returns false when the user kept the old workout.
    bool newWorkout() { return mLifecycle.newWorkout(); }
    /// Puts workout in place of the one being edited, as File > New would
    /// replace it (after the same question); the new workout counts as edited.
    bool useWorkout(const Workout& workout) { return mLifecycle.useWorkout(workout); }

    /// The start-up sequence: options, machine profile, placement, the user file
    /// named in arguments (as QCoreApplication::arguments()) or the last workout
    /// or the default workout; then shows the window.
    void startUp(const QStringList& arguments);

    Editor& editor() { return *mEditor; }
    /// The File menu, for commands added later (Random, Print, Create MP3/WAV).
    QMenu* fileMenu() const;
    /// Start-up, New, reset and exit without the widgets.
    MainLifecycle& lifecycle() { return mLifecycle; }
    /// The arrangement ResizeMainForm chose last.
    Arrangement arrangement() const { return mArrangement; }

    // WorkoutView
    void refreshWorkout() override;
    void selectSegment(int index) override;
    void switchUnits(Units units) override;
    void applyMachineRanges() override;
    void setCaption(const QString& caption) override;
    void resetElapsedTime() override;
    void setWeight(int pounds) override;

    // RunView
    void setRunMode(bool running) override;
    void showCountdown(const QString& countdown, const QString& instructions) override;
    void endCountdown() override;
    void showSegment(int segment, const QString& first, const QString& second) override;
    void showTimeLeft(const QString& text) override;
    void showNote(const QString& text) override;
    void runEnded(RunOutcome outcome, const QString& problem) override;

public slots:
    void mnuFileNew_Click();
    void mnuFileExit_Click();
    void mnuOptionMiles_Click();
    void mnuOptionKilometers_Click();
    void mnuOptionEquipment_Click();
    void mnuHelpContents_Click();
    void mnuHelpAbout_Click();
    void cmdStart_Click();
    void cmdResume_Click();
    void mnuAudioType_Click(int index);
    /// Places panels and graph for the window's size and stores the window state.
    void ResizeMainForm();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectMenus();
    void buildPanels();
    void refresh(unsigned changes);
    void showRunOptions();
    void updateRecentFilesMenu();
    void showAudioType();
    double dotsPerInch() const;
    void buildRunDisplay(QWidget* central);

    Session& mSession;
    SettingsStore& mSettings;
    const AppPaths& mPaths;
    MessageBoxes& mMessages;
    RunOptions& mOptions;
    Editor* mEditor;
    MainLifecycle mLifecycle;
    FileCommands* mFileCommands = nullptr;
    EquipmentSelection* mMachineSelection = nullptr;
    Arrangement mArrangement = Arrangement::Wide;
    bool mStarted = false;
    RunParts mRun;
    MoreCommands mCommands;
    bool mCloseAfterRun = false;

    MainMenus* mMenus = nullptr;
    ProfileView* mProfile = nullptr;
    /// The profile view, or the run display during a run, which then takes the
    /// whole client area (the editing frames are idle meanwhile).
    QStackedWidget* mProfileStack = nullptr;
    RunDisplay* mRunDisplay = nullptr;
    SegmentPanel* mSegmentPanel = nullptr;
    TotalsPanel* mTotalsPanel = nullptr;
    QPointer<GetReadyWindow> mGetReady;
    QPointer<HelpWindow> mHelp;
};

} // namespace kntr
