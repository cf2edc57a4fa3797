#include "mainwindow.h"

#include "aboutdialog.h"
#include "editor/filecommands.h"
#include "helpwindow.h"
#include "editor/equipmentselection.h"
#include "workoutprinting.h"
#include "mainmenus.h"
#include "profileview.h"
#include "segmentpanel.h"
#include "totalspanel.h"

#include "model/runoptions.h"
#include "runner/ui/getreadywindow.h"
#include "runner/runengine.h"
#include "runner/runmusic.h"
#include "model/session.h"
#include "platform/apppaths.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

namespace kntr {

MainWindow::MainWindow(Session& session, SettingsStore& settings, const AppPaths& paths,
                       MessageBoxes& messages, Clock& clock, RunOptions& options, QWidget* parent)
    : QMainWindow(parent)
    , mSession(session)
    , mSettings(settings)
    , mPaths(paths)
    , mMessages(messages)
    , mOptions(options)
    , mEditor(new Editor(session, settings, messages, clock, this))
    , mLifecycle(session, settings, paths, *mEditor, *this, options)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kinetrova"));
    mMenus = new MainMenus(menuBar(), this);
    connectMenus();
    buildPanels();
    connect(mEditor, &Editor::changed, this, &MainWindow::refresh);
}

MainWindow::~MainWindow()
{
    if (mHelp)
        delete mHelp.data();
}

QMenu* MainWindow::fileMenu() const
{
    return mMenus->fileMenu();
}

// ---------------------------------------------------------------- menus

void MainWindow::connectMenus()
{
    MainMenus* m = mMenus;
    connect(m->fileNew(), &QAction::triggered, this, &MainWindow::mnuFileNew_Click);
    connect(m->fileRandom(), &QAction::triggered, this, [this] {
        if (mCommands.randomWorkout)
            mCommands.randomWorkout();
    });
    using Entry = MainMenus::FileEntry;
    const std::pair<Entry, void (*)(FileCommands&)> fileEntries[] = {
        {Entry::OpenWorkout, [](FileCommands& c) { c.openWorkout(); }},
        {Entry::SaveWorkout, [](FileCommands& c) { c.saveWorkout(); }},
        {Entry::SaveWorkoutAs, [](FileCommands& c) { c.saveWorkoutAs(); }},
        {Entry::ImportTable, [](FileCommands& c) { c.importTable(); }},
        {Entry::ExportTable, [](FileCommands& c) { c.exportTable(); }},
        {Entry::OpenUser, [](FileCommands& c) { c.openUser(); }},
        {Entry::SaveUser, [](FileCommands& c) { c.saveUser(); }},
        {Entry::SaveUserAs, [](FileCommands& c) { c.saveUserAs(); }},
    };
    for (const auto& [entry, command] : fileEntries)
        connect(m->fileEntry(entry), &QAction::triggered, this, [this, command = command] {
            if (mFileCommands)
                command(*mFileCommands);
        });
    connect(m->filePrint(), &QAction::triggered, this,
            [this] { printWorkout(*mEditor, windowTitle(), this, mMessages); });
    connect(m, &MainMenus::createFileChosen, this, [this](int type) {
        if (mCommands.createWorkoutFile)
            mCommands.createWorkoutFile(type);
    });
    connect(m, &MainMenus::recentFileChosen, this, [this](int number) {
        if (mFileCommands)
            mFileCommands->openRecentFile(number);
    });
    connect(m->fileExit(), &QAction::triggered, this, &MainWindow::mnuFileExit_Click);
    connect(m->fileMenu(), &QMenu::aboutToShow, this, &MainWindow::updateRecentFilesMenu);

    connect(m, &MainMenus::audioTypeChosen, this, &MainWindow::mnuAudioType_Click);
    connect(m->audioVolume(), &QAction::triggered, this, [this] {
        if (mRun.showVolume)
            mRun.showVolume();
    });

    connect(m, &MainMenus::voiceCuesChosen, this, [this](bool on) { mOptions.setVoiceCues(on); });
    connect(m, &MainMenus::delayChosen, this, [this](int seconds) { mOptions.setDelaySeconds(seconds); });
    connect(m, &MainMenus::beepsChosen, this, [this](int beeps) { mOptions.setBeeps(beeps); });
    connect(m->optionMiles(), &QAction::triggered, this, &MainWindow::mnuOptionMiles_Click);
    connect(m->optionKilometers(), &QAction::triggered, this, &MainWindow::mnuOptionKilometers_Click);
    connect(m->optionEquipment(), &QAction::triggered, this, &MainWindow::mnuOptionEquipment_Click);

    connect(m->helpContents(), &QAction::triggered, this, &MainWindow::mnuHelpContents_Click);
    connect(m->helpAbout(), &QAction::triggered, this, &MainWindow::mnuHelpAbout_Click);
}

void MainWindow::showRunOptions()
{
    mMenus->showRunOptions(mOptions.voiceCues(), mOptions.delaySeconds(), mOptions.beeps());
}

void MainWindow::attachFileCommands(FileCommands* commands)
{
    mFileCommands = commands;
    mLifecycle.attachFileCommands(commands);
    mMenus->showFileEntries(commands != nullptr);
    updateRecentFilesMenu();
}

void MainWindow::attachMachineSelection(EquipmentSelection* selection)
{
    mMachineSelection = selection;
    mLifecycle.attachMachineSelection(selection);
    mMenus->showEquipment(selection != nullptr);
}

void MainWindow::updateRecentFilesMenu()
{
    mMenus->showRecentFiles(mFileCommands ? mFileCommands->recentFileMenuTexts() : QStringList());
}

// ---------------------------------------------------------------- panels

void MainWindow::buildPanels()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);
    central->installEventFilter(this);

    mProfile = new ProfileView(*mEditor, central);
    mSegmentPanel = new SegmentPanel(*mEditor, central);
    connect(mSegmentPanel, &SegmentPanel::startClicked, this, &MainWindow::cmdStart_Click);
    connect(mSegmentPanel, &SegmentPanel::resumeClicked, this, &MainWindow::cmdResume_Click);
    mTotalsPanel = new TotalsPanel(*mEditor, central);
    // Tab order follows the rows, on into the weight.
    setTabOrder(mSegmentPanel->lastInTabOrder(), mTotalsPanel->firstInTabOrder());

    setMinimumSize(420, 380);
}

void MainWindow::refresh(unsigned changes)
{
    mSegmentPanel->refresh(changes);
    mTotalsPanel->refresh(changes);
    mProfile->refresh(changes);
    // New scales may want other room for the panels.
    if (changes & (Editor::ValueScales | Editor::Ranges))
        ResizeMainForm();
    // The active box comes last: it keeps the focus when the weight took it too.
    if (changes & Editor::WeightFocus)
        mTotalsPanel->focusWeight();
    if (changes & Editor::ActiveBox)
        mSegmentPanel->focusActiveBox();
}

// ---------------------------------------------------------------- layout

double MainWindow::dotsPerInch() const
{
    // QWidget::screen() falls back to the primary screen; there may be none at all.
    const QScreen* s = screen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        ResizeMainForm();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && mStarted)
        WindowPlacement::writeState(mSettings, WindowPlacement::stateOf(windowState()));
}

void MainWindow::ResizeMainForm()
{
    const double dpi = dotsPerInch();
    const int gap = twipsToPixels(kPanelGapTwips, dpi);
    const Arrangement arrangement =
        chooseArrangement(QSize(pixelsToTwips(width(), dpi), pixelsToTwips(height(), dpi)));
    if (arrangement != mArrangement) {
        mArrangement = arrangement;
        mTotalsPanel->arrange(arrangement);
    }
    mTotalsPanel->layout()->activate();

    const PanelLayout layout = layOutPanels(arrangement, centralWidget()->size(), gap,
                                            mSegmentPanel->sizeHint(), mTotalsPanel->sizeHint());
    mSegmentPanel->setGeometry(layout.segment);
    mTotalsPanel->setGeometry(layout.totals);
    mProfile->setGeometry(layout.profile);
    if (mStarted)
        WindowPlacement::writeState(mSettings, WindowPlacement::stateOf(windowState()));
}

// ---------------------------------------------------------------- WorkoutView

void MainWindow::refreshWorkout()
{
    mEditor->refreshAll();
}

void MainWindow::selectSegment(int index)
{
    mEditor->selectSegment(index);
}

void MainWindow::switchUnits(Units units)
{
    // The box being edited keeps the focus the menu took from it.
    QWidget* focused = QApplication::focusWidget();
    mMenus->showUnits(units);
    mEditor->switchUnits(units);
    if (focused && focused->window() == this)
        focused->setFocus();
}

void MainWindow::applyMachineRanges()
{
    mEditor->applyMachineRanges();
}

void MainWindow::setCaption(const QString& caption)
{
    setWindowTitle(caption);
}

void MainWindow::resetElapsedTime()
{
    mSegmentPanel->setTimeLeft(QStringLiteral("0:00"));
}

void MainWindow::setWeight(int pounds)
{
    mEditor->setWeight(pounds);
}

// ---------------------------------------------------------------- commands

void MainWindow::mnuFileNew_Click()
{
    newWorkout();
}

void MainWindow::attachCommands(MoreCommands commands)
{
    mCommands = std::move(commands);
    mMenus->showMoreCommands(static_cast<bool>(mCommands.randomWorkout),
                             static_cast<bool>(mCommands.createWorkoutFile));
}

void MainWindow::mnuFileExit_Click()
{
    close();
}

void MainWindow::mnuOptionMiles_Click()
{
    switchUnits(Units::Miles);
}

void MainWindow::mnuOptionKilometers_Click()
{
    switchUnits(Units::Kilometres);
}

void MainWindow::mnuOptionEquipment_Click()
{
    if (mMachineSelection)
        mMachineSelection->showSelection();
}

void MainWindow::mnuHelpContents_Click()
{
    HelpWindow::showManual(mHelp, mPaths.programDataDir(), mMessages);
}

void MainWindow::mnuHelpAbout_Click()
{
    // About may open during a live run, but the settings the run reads stay put.
    std::function<void()> reset;
    if (!mRun.engine || !mRun.engine->isRunning())
        reset = [this] {
            mLifecycle.resetSettings();
            mMenus->showUnits(mSession.machine.units());
            showRunOptions();
            updateRecentFilesMenu();
        };
    AboutDialog about(std::move(reset), this);
    about.exec();
}

// ---------------------------------------------------------------- run

void MainWindow::attachRun(RunParts parts)
{
    mRun = std::move(parts);
    const bool attached = mRun.engine && mRun.music;
    mMenus->showAudio(attached);
    mSegmentPanel->showRunControls(attached);
    if (attached)
        showAudioType();
}

void MainWindow::showAudioType()
{
    if (!mRun.music)
        return;
    mMenus->showAudioType(mRun.music->menuEntry());
}

void MainWindow::mnuAudioType_Click(int index)
{
    if (!mRun.music)
        return;
    // The play list is chosen first; a window closed without one means no music.
    if (index == 3 && mRun.editPlayList)
        mRun.editPlayList();
    mRun.music->chooseMenuEntry(index);
    showAudioType();
}

void MainWindow::cmdStart_Click()
{
    if (!mRun.engine)
        return;
    if (mRun.engine->isRunning()) {
        mRun.engine->requestStop();
        return;
    }
    // The random workout window goes out of the way of the run.
    if (mCommands.hideRandomWorkout)
        mCommands.hideRandomWorkout();
    mRun.engine->start();
}

void MainWindow::cmdResume_Click()
{
    if (!mRun.engine || mRun.engine->isRunning())
        return;
    mRun.engine->resume(mEditor->text(Editor::Field::Segment).toInt());
}

void MainWindow::runEnded(RunOutcome outcome, const QString& problem)
{
    // The run may have fallen back to no music.
    showAudioType();
    if (outcome == RunOutcome::OutputLost)
        mMessages.show(problem, MessageBoxes::Icon::Critical);
    if (mCloseAfterRun) {
        mCloseAfterRun = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void MainWindow::showNote(const QString& text)
{
    statusBar()->showMessage(text);
}

void MainWindow::setRunMode(bool running)
{
    mSegmentPanel->setRunMode(running);
    mMenus->setRunning(running);
    mEditor->setEditingEnabled(!running);
    ResizeMainForm();
}

void MainWindow::showCountdown(const QString& countdown, const QString& instructions)
{
    if (!mGetReady) {
        mGetReady = new GetReadyWindow(this);
        connect(mGetReady, &GetReadyWindow::cancelled, this, [this] {
            if (mRun.engine)
                mRun.engine->cancelCountdown();
        });
    }
    if (isEnabled())
        setEnabled(false);
    mGetReady->setEnabled(true);
    mGetReady->showTexts(countdown, instructions);
}

void MainWindow::endCountdown()
{
    if (mGetReady)
        mGetReady->finish();
    setEnabled(true);
    mProfile->updateGraphics();
}

void MainWindow::showSegment(int segment, const QString&, const QString&)
{
    // The editor shows the segment being run; its boxes show the same targets.
    mEditor->selectSegment(segment);
}

void MainWindow::showTimeLeft(const QString& text)
{
    mSegmentPanel->setTimeLeft(text);
}

// ---------------------------------------------------------------- start-up

void MainWindow::startUp(const QStringList& arguments)
{
    // Window state and machine profile first: everything after uses them.
    const QScreen* s = screen();
    const QRect available = s ? s->availableGeometry() : QRect(0, 0, 1280, 800);
    const WindowPlacement placement = WindowPlacement::read(mSettings, available, dotsPerInch());
    const bool firstStart = placement.state == WindowPlacement::kFirstStart;
    mLifecycle.loadMachineProfile();
    setGeometry(placement.pixels);
    mLifecycle.loadWorkout(arguments);
    showRunOptions();
    if (mRun.music) {
        mRun.music->restoreAudioType();
        showAudioType();
    }

    mStarted = true;
    if (placement.state == WindowPlacement::kMaximised)
        showMaximized();
    else
        show();
    ResizeMainForm();
    mProfile->updateGraphics();
    mEditor->activate(Editor::Box::Segment);

    // A first start asks for the equipment once the window is up.
    if (firstStart && mMachineSelection)
        QTimer::singleShot(0, this, [this] {
            if (mMachineSelection)
                mMachineSelection->showSelection();
        });
    updateRecentFilesMenu();
}

// ---------------------------------------------------------------- exit

void MainWindow::closeEvent(QCloseEvent* event)
{
    // A run is stopped first (the console hears the stop command); the window
    // closes once the run has ended.
    if (mRun.engine && mRun.engine->isRunning()) {
        mCloseAfterRun = true;
        mRun.engine->requestStop();
        event->ignore();
        return;
    }
    if (mRun.releaseDevices)
        mRun.releaseDevices();
    WindowPlacement placement;
    placement.state = WindowPlacement::stateOf(windowState());
    placement.pixels = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.write(mSettings, dotsPerInch());
    if (!mLifecycle.offerToSave()) {
        event->ignore();
        return;
    }
    if (mHelp)
        mHelp->close();
    event->accept();
}

} // namespace kntr
