#include "mainwindow.h"

#include "aboutdialog.h"
#include "axiscaption.h"
#include "axislabels.h"
#include "filecommands.h"
#include "graphgeometry.h"
#include "helpwindow.h"
#include "equipmentselection.h"
#include "profilegraph.h"
#include "workoutprinting.h"
#include "timeaxis.h"
#include "valueaxis.h"
#include "valuebox.h"

#include "model/runoptions.h"
#include "runner/getreadywindow.h"
#include "runner/runengine.h"
#include "runner/runmusic.h"
#include "model/session.h"
#include "model/totals.h"
#include "platform/apppaths.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

namespace kntr {

namespace {

constexpr int kSegmentBox = 0;
constexpr int kSpeedBox = 1;
constexpr int kInclineBox = 2;
constexpr int kTimeBox = 3;

constexpr Editor::Field kBoxFields[] = {Editor::Field::Segment, Editor::Field::Speed, Editor::Field::Incline,
                                        Editor::Field::Time};

QLabel* makeValueLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

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
    buildMenus();
    buildPanels();
    connect(mEditor, &Editor::changed, this, &MainWindow::refresh);
}

MainWindow::~MainWindow()
{
    if (mHelp)
        delete mHelp.data();
}

// ---------------------------------------------------------------- menus

void MainWindow::buildMenus()
{
    mFileMenu = menuBar()->addMenu(tr("&File"));
    mFileMenu->setObjectName(QStringLiteral("mnuFile"));
    mnuFileNew = mFileMenu->addAction(tr("&New Workout"), this, &MainWindow::mnuFileNew_Click);
    mnuFileNew->setObjectName(QStringLiteral("mnuFileNew"));
    mnuFileNew->setShortcut(QKeySequence::New);
    mnuFileRandom = mFileMenu->addAction(tr("&Random Workout..."), this, [this] {
        if (mCommands.randomWorkout)
            mCommands.randomWorkout();
    });
    mnuFileRandom->setObjectName(QStringLiteral("mnuFileRandom"));
    mnuFileRandom->setVisible(false);

    // The workout and user-file entries wait, hidden, for the file commands.
    const struct
    {
        const char* caption;
        const char* name;
    } fileEntries[] = {
        {nullptr, "mnuFileSep1"},
        {"&Open Workout...", "mnuFileOpen"},
        {"&Save Workout", "mnuFileSave"},
        {"Save Workout &As...", "mnuFileSaveAs"},
        {nullptr, "mnuFileSep2"},
        {"O&pen User...", "mnuFileOpenUser"},
        {"Sa&ve User", "mnuFileSaveUser"},
        {"Sav&e User As...", "mnuFileSaveUserAs"},
    };
    for (std::size_t i = 0; i < std::size(fileEntries); ++i) {
        QAction* action = fileEntries[i].caption ? mFileMenu->addAction(tr(fileEntries[i].caption))
                                                 : mFileMenu->addSeparator();
        action->setObjectName(QString::fromLatin1(fileEntries[i].name));
        action->setVisible(false);
        mFileEntries[i] = action;
    }
    mFileEntries[1]->setShortcut(QKeySequence::Open);
    mFileEntries[2]->setShortcut(QKeySequence::Save);
    mFileEntries[3]->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)); // not bound on every desktop
    mFileMenu->addSeparator()->setObjectName(QStringLiteral("mnuFileSep3"));
    QAction* print = mFileMenu->addAction(tr("&Print..."), this,
                                          [this] { printWorkout(*mEditor, windowTitle(), this, mMessages); });
    print->setObjectName(QStringLiteral("mnuFilePrint"));
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mnuFileCreateSeparator = mFileMenu->addSeparator();
    mnuFileCreateSeparator->setObjectName(QStringLiteral("mnuFileSep4"));
    mnuFileCreateSeparator->setVisible(false);
    const QString createCaptions[] = {tr("Create &MP3 File..."), tr("Create &WAV File...")};
    for (int i = 0; i < 2; ++i) {
        QAction* create = mFileMenu->addAction(createCaptions[i], this, [this, i] {
            if (mCommands.createWorkoutFile)
                mCommands.createWorkoutFile(i);
        });
        create->setObjectName(QStringLiteral("mnuAudioCreateFile%1").arg(i));
        create->setVisible(false);
        mnuAudioCreateFile[i] = create;
    }
    mFileMenu->addSeparator()->setObjectName(QStringLiteral("mnuFileSep5"));
    for (int i = 0; i < 4; ++i) {
        QAction* recent = mFileMenu->addAction(QString());
        recent->setObjectName(QStringLiteral("mnuFileMRU%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] {
            if (mFileCommands)
                mFileCommands->openRecentFile(i + 1);
        });
        mnuFileMRU[i] = recent;
    }
    mnuFileMRUSeparator = mFileMenu->addSeparator();
    mnuFileMRUSeparator->setObjectName(QStringLiteral("mnuFileMRUSep"));
    mnuFileMRUSeparator->setVisible(false);
    mnuFileExit = mFileMenu->addAction(tr("E&xit"), this, &MainWindow::mnuFileExit_Click);
    mnuFileExit->setObjectName(QStringLiteral("mnuFileExit"));
    mnuFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(mFileMenu, &QMenu::aboutToShow, this, &MainWindow::updateRecentFilesMenu);

    // The music of a run, waiting, hidden, for the run parts.
    mAudioMenu = menuBar()->addMenu(tr("&Audio"));
    mAudioMenu->setObjectName(QStringLiteral("mnuAudio"));
    mAudioMenu->menuAction()->setVisible(false);
    auto* audioGroup = new QActionGroup(this);
    const QString audioCaptions[] = {tr("&None"), tr("&CD-ROM"), tr("&Play list...")};
    for (int i = 0; i < 3; ++i) {
        QAction* entry = mAudioMenu->addAction(audioCaptions[i]);
        entry->setObjectName(QStringLiteral("mnuAudioType%1").arg(i + 1));
        entry->setCheckable(true);
        audioGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, i] { mnuAudioType_Click(i + 1); });
        mnuAudioType[i] = entry;
    }
    mAudioMenu->addSeparator();
    QAction* volume = mAudioMenu->addAction(tr("&Volume..."), this, [this] {
        if (mRun.showVolume)
            mRun.showVolume();
    });
    volume->setObjectName(QStringLiteral("mnuAudioVolume"));

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    mOptionsMenu = options;
    options->setObjectName(QStringLiteral("mnuOptions"));
    mVoiceGroup = addOptionGroup(options, {tr("&Voice Cues On"), tr("Voice Cues O&ff")}, {1, 0},
                                 {QStringLiteral("mnuOptionVoiceOn"), QStringLiteral("mnuOptionVoiceOff")},
                                 &MainWindow::setVoiceCues);
    options->addSeparator();
    mDelayGroup = addOptionGroup(
        options, {tr("Delay start &5 seconds"), tr("Delay start &10 seconds"), tr("Delay start &20 seconds")},
        {5, 10, 20},
        {QStringLiteral("mnuOptionDelay5"), QStringLiteral("mnuOptionDelay10"), QStringLiteral("mnuOptionDelay20")},
        &MainWindow::setDelay);
    options->addSeparator();
    mBeepGroup = addOptionGroup(options, {tr("Beep &once"), tr("Beep &twice")}, {1, 2},
                                {QStringLiteral("mnuOptionBeep1"), QStringLiteral("mnuOptionBeep2")},
                                &MainWindow::setBeeps);
    options->addSeparator();
    auto* units = new QActionGroup(this);
    mnuOptionMiles = options->addAction(tr("&Miles and pounds"), this, &MainWindow::mnuOptionMiles_Click);
    mnuOptionMiles->setObjectName(QStringLiteral("mnuOptionMiles"));
    mnuOptionKilometers =
        options->addAction(tr("&Kilometers and kilograms"), this, &MainWindow::mnuOptionKilometers_Click);
    mnuOptionKilometers->setObjectName(QStringLiteral("mnuOptionKilometers"));
    for (QAction* a : {mnuOptionMiles, mnuOptionKilometers}) {
        a->setCheckable(true);
        units->addAction(a);
    }
    mnuOptionMiles->setChecked(true);
    mnuOptionEquipmentSeparator = options->addSeparator();
    mnuOptionEquipmentSeparator->setVisible(false);
    mnuOptionEquipment = options->addAction(tr("&Select Equipment..."), this, &MainWindow::mnuOptionEquipment_Click);
    mnuOptionEquipment->setObjectName(QStringLiteral("mnuOptionEquipment"));
    mnuOptionEquipment->setVisible(false);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* contents = help->addAction(tr("&Contents..."), this, &MainWindow::mnuHelpContents_Click);
    contents->setObjectName(QStringLiteral("mnuHelpContents"));
    contents->setShortcut(QKeySequence::HelpContents);
    QAction* about = help->addAction(tr("&About..."), this, &MainWindow::mnuHelpAbout_Click);
    about->setObjectName(QStringLiteral("mnuHelpAbout"));
}

QActionGroup* MainWindow::addOptionGroup(QMenu* menu, const QStringList& captions, const QList<int>& values,
                                         const QStringList& names, void (MainWindow::*chosen)(int))
{
    auto* group = new QActionGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        QAction* action = menu->addAction(captions[i]);
        action->setObjectName(names[i]);
        action->setCheckable(true);
        action->setData(values[i]);
        group->addAction(action);
    }
    connect(group, &QActionGroup::triggered, this,
            [this, chosen](QAction* action) { (this->*chosen)(action->data().toInt()); });
    return group;
}

void MainWindow::setVoiceCues(int on)
{
    mOptions.setVoiceCues(on != 0);
}

void MainWindow::setDelay(int seconds)
{
    mOptions.setDelaySeconds(seconds);
}

void MainWindow::setBeeps(int beeps)
{
    mOptions.setBeeps(beeps);
}

void MainWindow::showRunOptions()
{
    const auto check = [](QActionGroup* group, int value) {
        for (QAction* action : group->actions())
            action->setChecked(action->data().toInt() == value);
    };
    check(mVoiceGroup, mOptions.voiceCues() ? 1 : 0);
    check(mDelayGroup, mOptions.delaySeconds());
    check(mBeepGroup, mOptions.beeps());
}

void MainWindow::attachFileCommands(FileCommands* commands)
{
    mFileCommands = commands;
    mLifecycle.attachFileCommands(commands);
    for (QAction* entry : mFileEntries)
        entry->setVisible(commands != nullptr);
    const auto connectEntry = [this](int index, void (FileCommands::*command)()) {
        connect(mFileEntries[index], &QAction::triggered, this, [this, command] {
            if (mFileCommands)
                (mFileCommands->*command)();
        });
    };
    connect(mFileEntries[2], &QAction::triggered, this, [this] {
        if (mFileCommands)
            mFileCommands->saveWorkout();
    });
    connect(mFileEntries[3], &QAction::triggered, this, [this] {
        if (mFileCommands)
            mFileCommands->saveWorkoutAs();
    });
    connectEntry(1, &FileCommands::openWorkout);
    connectEntry(5, &FileCommands::openUser);
    connectEntry(6, &FileCommands::saveUser);
    connectEntry(7, &FileCommands::saveUserAs);
    updateRecentFilesMenu();
}

void MainWindow::attachMachineSelection(EquipmentSelection* selection)
{
    mMachineSelection = selection;
    mLifecycle.attachMachineSelection(selection);
    mnuOptionEquipment->setVisible(selection != nullptr);
    mnuOptionEquipmentSeparator->setVisible(selection != nullptr);
}

void MainWindow::updateRecentFilesMenu()
{
    const QStringList texts = mFileCommands ? mFileCommands->recentFileMenuTexts() : QStringList();
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < texts.size();
        mnuFileMRU[i]->setVisible(shown);
        if (shown)
            mnuFileMRU[i]->setText(texts[i]);
    }
    mnuFileMRUSeparator->setVisible(!texts.isEmpty());
}

// ---------------------------------------------------------------- panels

void MainWindow::buildPanels()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("clientArea"));
    setCentralWidget(central);
    central->installEventFilter(this);

    mGraph = new ProfileGraph(*mEditor, central);
    mGraph->setObjectName(QStringLiteral("picBox"));
    mTimeAxis = new TimeAxis(central);
    mLeftAxis = new ValueAxis(ValueAxis::Side::Left, central);
    mRightAxis = new ValueAxis(ValueAxis::Side::Right, central);
    mLeftCaption = new AxisCaption(AxisCaption::Reading::Upwards, central);
    mLeftCaption->setObjectName(QStringLiteral("picYlbl"));
    mPaceCaption = new AxisCaption(AxisCaption::Reading::Upwards, central);
    mPaceCaption->setObjectName(QStringLiteral("picYKlbl"));
    mPaceCaption->hide();
    mRightCaption = new AxisCaption(AxisCaption::Reading::Downwards, central);
    mRightCaption->setObjectName(QStringLiteral("picY2lbl"));
    mRightAxis->setLabels({std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt});

    // Segment Design: four value rows (caption, box, scroll bar) and the two buttons.
    mSegmentFrame = new QGroupBox(tr("Segment Design"), central);
    mSegmentFrame->setObjectName(QStringLiteral("fraSegment"));
    auto* grid = new QGridLayout(mSegmentFrame);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);
    const QString boxNames[] = {QStringLiteral("txtSelSegment"), QStringLiteral("txtSelSpeed"),
                                QStringLiteral("txtSelIncl"), QStringLiteral("txtSelTime")};
    const QString scrollNames[] = {QStringLiteral("hscSelSegment"), QStringLiteral("hscSelSpeed"),
                                   QStringLiteral("hscSelIncline"), QStringLiteral("hscSelTime")};
    auto* segmentLabel = new QLabel(tr("Segment"), mSegmentFrame);
    segmentLabel->setObjectName(QStringLiteral("lblSegment"));
    mSpeedLabel = new QLabel(mSegmentFrame);
    mSpeedLabel->setObjectName(QStringLiteral("lblSpeed"));
    mSpeedLabel->setToolTip(tr("Click toggles between distance/time and time/distance."));
    mSpeedLabel->setCursor(Qt::PointingHandCursor);
    mSpeedLabel->installEventFilter(this);
    mInclineLabel = new QLabel(mSegmentFrame);
    mInclineLabel->setObjectName(QStringLiteral("lblIncline"));
    auto* timeLabel = new QLabel(tr("Time"), mSegmentFrame);
    timeLabel->setObjectName(QStringLiteral("lblSelTime"));
    QLabel* captions[] = {segmentLabel, mSpeedLabel, mInclineLabel, timeLabel};
    for (int i = 0; i < 4; ++i) {
        captions[i]->setAlignment(Qt::AlignCenter);
        grid->addWidget(captions[i], 0, i);
        auto* box = new ValueBox(mSegmentFrame);
        box->setObjectName(boxNames[i]);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00:000")) + 12);
        captions[i]->setBuddy(box);
        grid->addWidget(box, 1, i);
        auto* scroll = new QScrollBar(Qt::Horizontal, mSegmentFrame);
        scroll->setObjectName(scrollNames[i]);
        scroll->setFocusPolicy(Qt::NoFocus);
        grid->addWidget(scroll, 2, i);
        mBoxes[i] = box;
        mScrolls[i] = scroll;

        const Editor::Field field = kBoxFields[i];
        connect(scroll, &QScrollBar::valueChanged, this, [this, field](int v) { mEditor->setValue(field, v); });
        connect(box, &ValueBox::navigationKey, this, [this, field](Editor::Key key) { mEditor->keyPress(field, key); });
        const Editor::Box activeBox = static_cast<Editor::Box>(i + 1);
        connect(box, &ValueBox::activated, this, [this, activeBox] { mEditor->activate(activeBox); });
    }
    connect(mBoxes[kSegmentBox], &ValueBox::otherKey, mBoxes[kSegmentBox], [box = mBoxes[kSegmentBox]] {
        box->end(false);
    });
    mScrolls[kTimeBox]->setToolTip(tr("Hold an arrow to change the time 10 seconds a step."));

    mAddButton = new QPushButton(tr("&Ins Seg"), mSegmentFrame);
    mAddButton->setObjectName(QStringLiteral("btnAddSegment"));
    mAddButton->setToolTip(tr("Add segment to the right of the selected segment."));
    mDeleteButton = new QPushButton(tr("&Del Seg"), mSegmentFrame);
    mDeleteButton->setObjectName(QStringLiteral("btnDelSegment"));
    mDeleteButton->setToolTip(tr("Delete selected segment."));
    connect(mAddButton, &QPushButton::clicked, mEditor, &Editor::btnAddSegment_Click);
    connect(mDeleteButton, &QPushButton::clicked, mEditor, &Editor::btnDelSegment_Click);
    grid->addWidget(mAddButton, 1, 4);
    grid->addWidget(mDeleteButton, 2, 4);

    // The run: time left, Start/Stop and Resume; shown once the run parts are attached.
    mTimeLeft = makeValueLabel(QStringLiteral("lblTime"), mSegmentFrame);
    mTimeLeft->setAlignment(Qt::AlignCenter);
    mTimeLeft->setText(QStringLiteral("0:00"));
    mTimeLeft->setToolTip(tr("Time left in the segment."));
    mStartButton = new QPushButton(tr("&Start"), mSegmentFrame);
    mStartButton->setObjectName(QStringLiteral("cmdStart"));
    mStartButton->setToolTip(tr("Start workout at segment 1."));
    mResumeButton = new QPushButton(tr("&Resume"), mSegmentFrame);
    mResumeButton->setObjectName(QStringLiteral("cmdResume"));
    mResumeButton->setToolTip(tr("Start workout at the selected segment."));
    connect(mStartButton, &QPushButton::clicked, this, &MainWindow::cmdStart_Click);
    connect(mResumeButton, &QPushButton::clicked, this, &MainWindow::cmdResume_Click);
    grid->addWidget(mTimeLeft, 0, 5);
    grid->addWidget(mStartButton, 1, 5);
    grid->addWidget(mResumeButton, 2, 5);
    for (QWidget* w : std::initializer_list<QWidget*>{mTimeLeft, mStartButton, mResumeButton})
        w->hide();
    for (int i = 0; i < 4; ++i)
        grid->setColumnStretch(i, 1);

    // Workout Totals.
    mTotalsFrame = new QGroupBox(tr("Workout Totals"), central);
    mTotalsFrame->setObjectName(QStringLiteral("fraTotals"));
    mTotalsGrid = new QGridLayout(mTotalsFrame);
    mTotalsGrid->setHorizontalSpacing(6);
    mTotalsGrid->setVerticalSpacing(3);
    const QString totalCaptions[] = {tr("Time"), tr("Distance"), tr("Calories"), tr("Segment"), tr("&Weight")};
    for (int i = 0; i < 5; ++i)
        mTotalsCaptions[i] = new QLabel(totalCaptions[i], mTotalsFrame);
    mTotalsCaptions[3]->setToolTip(tr("Distance of the selected segment."));
    mTotalTime = makeValueLabel(QStringLiteral("lblTotalTime"), mTotalsFrame);
    mTotalDist = makeValueLabel(QStringLiteral("lblTotalDist"), mTotalsFrame);
    mDistUnit = new QLabel(mTotalsFrame);
    mDistUnit->setObjectName(QStringLiteral("lblwoMiles"));
    mTotalCal = makeValueLabel(QStringLiteral("lblTotalCal"), mTotalsFrame);
    mSegDist = makeValueLabel(QStringLiteral("lblSegDist"), mTotalsFrame);
    mPoundsBox = new ValueBox(mTotalsFrame);
    mPoundsBox->setObjectName(QStringLiteral("txtPounds"));
    mPoundsBox->setMinimumWidth(mPoundsBox->fontMetrics().horizontalAdvance(QStringLiteral("000.0")) + 12);
    mPoundsBox->setMaximumWidth(mPoundsBox->minimumWidth() + 10);
    mTotalsCaptions[4]->setBuddy(mPoundsBox);
    mWeightUnit = new QLabel(mTotalsFrame);
    mWeightUnit->setObjectName(QStringLiteral("lblWeightUnit"));
    mPoundsScroll = new QScrollBar(Qt::Horizontal, mTotalsFrame);
    mPoundsScroll->setObjectName(QStringLiteral("hscPounds"));
    mPoundsScroll->setFocusPolicy(Qt::NoFocus);
    mPoundsScroll->setToolTip(tr("Your body weight, for the calorie total."));
    connect(mPoundsScroll, &QScrollBar::valueChanged, this,
            [this](int v) { mEditor->setValue(Editor::Field::Weight, v); });
    connect(mPoundsBox, &ValueBox::navigationKey, this,
            [this](Editor::Key key) { mEditor->keyPress(Editor::Field::Weight, key); });
    arrangeTotals(Arrangement::Wide);

    // Tab order follows the rows.
    setTabOrder(mBoxes[0], mBoxes[1]);
    setTabOrder(mBoxes[1], mBoxes[2]);
    setTabOrder(mBoxes[2], mBoxes[3]);
    setTabOrder(mBoxes[3], mAddButton);
    setTabOrder(mAddButton, mDeleteButton);
    setTabOrder(mDeleteButton, mStartButton);
    setTabOrder(mStartButton, mResumeButton);
    setTabOrder(mResumeButton, mPoundsBox);

    setMinimumSize(420, 380);
}

void MainWindow::arrangeTotals(Arrangement arrangement)
{
    QGridLayout* g = mTotalsGrid;
    for (QWidget* w : {static_cast<QWidget*>(mTotalTime), static_cast<QWidget*>(mTotalDist),
                       static_cast<QWidget*>(mDistUnit), static_cast<QWidget*>(mTotalCal),
                       static_cast<QWidget*>(mSegDist), static_cast<QWidget*>(mPoundsBox),
                       static_cast<QWidget*>(mWeightUnit), static_cast<QWidget*>(mPoundsScroll)})
        g->removeWidget(w);
    for (QLabel* c : mTotalsCaptions)
        g->removeWidget(c);
    for (int c = 0; c < 10; ++c) {
        g->setColumnStretch(c, 0);
        g->setColumnMinimumWidth(c, 0);
    }
    g->setRowStretch(6, arrangement == Arrangement::Wide ? 1 : 0);

    if (arrangement == Arrangement::Wide) {
        // A column beside the graph: one total per row.
        g->addWidget(mTotalsCaptions[0], 0, 0);
        g->addWidget(mTotalTime, 0, 1);
        g->addWidget(mTotalsCaptions[1], 1, 0);
        g->addWidget(mTotalDist, 1, 1);
        g->addWidget(mDistUnit, 1, 2);
        g->addWidget(mTotalsCaptions[2], 2, 0);
        g->addWidget(mTotalCal, 2, 1);
        g->addWidget(mTotalsCaptions[3], 3, 0);
        g->addWidget(mSegDist, 3, 1, 1, 2);
        g->addWidget(mTotalsCaptions[4], 4, 0);
        g->addWidget(mPoundsBox, 4, 1);
        g->addWidget(mWeightUnit, 4, 2);
        g->addWidget(mPoundsScroll, 5, 0, 1, 3);
        g->setColumnStretch(1, 1);
    } else {
        // A strip under the editing frame: two rows, the weight at the right.
        g->addWidget(mTotalsCaptions[0], 0, 0);
        g->addWidget(mTotalTime, 0, 1);
        g->addWidget(mTotalsCaptions[1], 0, 3);
        g->addWidget(mTotalDist, 0, 4);
        g->addWidget(mDistUnit, 0, 5);
        g->addWidget(mTotalsCaptions[2], 1, 0);
        g->addWidget(mTotalCal, 1, 1);
        g->addWidget(mTotalsCaptions[3], 1, 3);
        g->addWidget(mSegDist, 1, 4, 1, 2);
        g->addWidget(mTotalsCaptions[4], 0, 7);
        g->addWidget(mPoundsBox, 0, 8);
        g->addWidget(mWeightUnit, 0, 9);
        g->addWidget(mPoundsScroll, 1, 7, 1, 3);
        g->setColumnMinimumWidth(2, 12);
        g->setColumnStretch(6, 1);
    }
    const Qt::Alignment values = (arrangement == Arrangement::Wide ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    for (QLabel* value : {mTotalTime, mTotalDist, mTotalCal, mSegDist})
        value->setAlignment(values);
}

// ---------------------------------------------------------------- layout

double MainWindow::dotsPerInch() const
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchY() : 96.0;
}

int MainWindow::windowStateValue() const
{
    if (windowState() & Qt::WindowMinimized)
        return 1;
    if (windowState() & Qt::WindowMaximized)
        return 2;
    return 0;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == centralWidget() && event->type() == QEvent::Resize)
        ResizeMainForm();
    else if (watched == mSpeedLabel && event->type() == QEvent::MouseButtonPress && mSpeedLabel->isEnabled())
        mEditor->lblSpeed_Click();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && mStarted)
        WindowPlacement::writeState(mSettings, windowStateValue());
}

void MainWindow::ResizeMainForm()
{
    QWidget* client = centralWidget();
    const double dpi = dotsPerInch();
    const int gap = twipsToPixels(kPanelGapTwips, dpi);
    const Arrangement arrangement =
        chooseArrangement(QSize(pixelsToTwips(width(), dpi), pixelsToTwips(height(), dpi)));
    if (arrangement != mArrangement) {
        mArrangement = arrangement;
        arrangeTotals(arrangement);
    }
    mTotalsGrid->activate();

    const int w = client->width();
    const int h = client->height();
    const int segmentHeight = mSegmentFrame->sizeHint().height();
    const int totalsHeight = mTotalsFrame->sizeHint().height();
    QRect graphArea;
    if (arrangement == Arrangement::Wide) {
        // Totals in a column right of the graph, segment design across the bottom.
        const int totalsWidth = mTotalsFrame->sizeHint().width();
        mSegmentFrame->setGeometry(gap, h - gap - segmentHeight, w - 2 * gap, segmentHeight);
        const int top = gap;
        const int bottom = h - 2 * gap - segmentHeight;
        mTotalsFrame->setGeometry(w - gap - totalsWidth, top, totalsWidth, std::max(totalsHeight, bottom - top));
        graphArea = QRect(gap, top, w - 3 * gap - totalsWidth, bottom - top);
    } else {
        // Both frames stacked under the graph, full width.
        mTotalsFrame->setGeometry(gap, h - gap - totalsHeight, w - 2 * gap, totalsHeight);
        mSegmentFrame->setGeometry(gap, h - 2 * gap - totalsHeight - segmentHeight, w - 2 * gap, segmentHeight);
        graphArea = QRect(gap, gap, w - 2 * gap, h - 4 * gap - totalsHeight - segmentHeight);
    }
    placeGraph(graphArea);
    if (mStarted)
        WindowPlacement::writeState(mSettings, windowStateValue());
}

void MainWindow::placeGraph(const QRect& area)
{
    const int lineHeight = fontMetrics().height();
    const int captionWidth = mLeftCaption->preferredWidth();
    const int leftWidth = mLeftAxis->preferredWidth({QStringLiteral("19.3-"), QStringLiteral("10-")});
    const int rightWidth = mRightAxis->preferredWidth({QStringLiteral("-50")});
    const int axisHeight = mTimeAxis->preferredHeight();

    const int graphLeft = area.left() + captionWidth + leftWidth;
    const int graphWidth = std::max(20, area.width() - 2 * captionWidth - leftWidth - rightWidth);
    const int graphTop = area.top() + lineHeight / 2;
    const int graphHeight = std::max(20, area.height() - lineHeight / 2 - axisHeight);
    mGraph->setGeometry(graphLeft, graphTop, graphWidth, graphHeight);
    const QRect content = mGraph->contentsRect().translated(mGraph->pos());

    const QRect axisBand(0, area.top(), 0, graphHeight + lineHeight);
    mLeftAxis->setGeometry(area.left() + captionWidth, axisBand.top(), leftWidth - 3, axisBand.height());
    mRightAxis->setGeometry(graphLeft + graphWidth + 3, axisBand.top(), rightWidth - 3, axisBand.height());
    mLeftCaption->setGeometry(area.left(), graphTop, captionWidth, graphHeight);
    mPaceCaption->setGeometry(mLeftCaption->geometry());
    mRightCaption->setGeometry(graphLeft + graphWidth + rightWidth, graphTop, captionWidth, graphHeight);

    const int margin = leftWidth;
    mTimeAxis->setGeometry(graphLeft - margin, graphTop + graphHeight, graphWidth + 2 * margin, axisHeight);
    mTimeAxis->setGraphSpan(content.left() - mTimeAxis->x(), content.width());
    mLeftAxis->setScale(mGraph->speedScaleTop(), content.top() - axisBand.top(), content.height());
    mRightAxis->setScale(mGraph->inclineScaleTop(), content.top() - axisBand.top(), content.height());
}

// ---------------------------------------------------------------- refresh

void MainWindow::refresh(unsigned changes)
{
    const Editor& e = *mEditor;
    if (changes & (Editor::Scrolls | Editor::Ranges)) {
        const Editor::Field fields[] = {Editor::Field::Segment, Editor::Field::Speed, Editor::Field::Incline,
                                        Editor::Field::Time, Editor::Field::Weight};
        QScrollBar* scrolls[] = {mScrolls[0], mScrolls[1], mScrolls[2], mScrolls[3], mPoundsScroll};
        for (int i = 0; i < 5; ++i) {
            const Editor::Control& c = e.control(fields[i]);
            const QSignalBlocker block(scrolls[i]);
            scrolls[i]->setRange(c.min, c.max);
            scrolls[i]->setSingleStep(c.step);
            scrolls[i]->setPageStep(c.page);
            scrolls[i]->setValue(c.value);
        }
    }
    if (changes & Editor::Texts) {
        for (int i = 0; i < 4; ++i)
            mBoxes[i]->setText(e.text(kBoxFields[i]));
        mPoundsBox->setText(e.text(Editor::Field::Weight));
    }
    if (changes & Editor::Totals) {
        const Editor::TotalsTexts& t = e.totals();
        mTotalTime->setText(t.time);
        mTotalDist->setText(t.distance);
        mTotalCal->setText(t.calories);
        mSegDist->setText(t.segmentDistance);
    }
    if (changes & (Editor::Captions | Editor::Totals)) {
        mSpeedLabel->setText(e.speedCaption());
        mInclineLabel->setText(mSession.machine.AttTwoDesignLabel());
        mDistUnit->setText(e.distanceUnitText());
        mWeightUnit->setText(weightUnitText(mSession.machine.units()));
    }
    if (changes & Editor::Graph)
        mGraph->updateGraphics();
    if (changes & Editor::TimeScale)
        mTimeAxis->updateXScales(mSession.workout.totalSeconds());
    if (changes & (Editor::ValueScales | Editor::Ranges))
        refreshScales();
    if (changes & Editor::Enabled) {
        const bool on = e.editingEnabled();
        for (int i = 0; i < 4; ++i) {
            mBoxes[i]->setEnabled(on);
            mScrolls[i]->setEnabled(on);
        }
        mAddButton->setEnabled(on);
        mDeleteButton->setEnabled(on);
        mPoundsBox->setEnabled(on);
        mPoundsScroll->setEnabled(on);
    }
    if (changes & Editor::WeightFocus)
        focusBox(mPoundsBox);
    if (changes & Editor::ActiveBox) {
        switch (e.activeBox()) {
        case Editor::Box::Segment: focusBox(mBoxes[kSegmentBox]); break;
        case Editor::Box::Speed: focusBox(mBoxes[kSpeedBox]); break;
        case Editor::Box::Incline: focusBox(mBoxes[kInclineBox]); break;
        case Editor::Box::Time: focusBox(mBoxes[kTimeBox]); break;
        case Editor::Box::None: break;
        }
    }
}

void MainWindow::refreshScales()
{
    const Machine& m = mSession.machine;
    const std::array<AxisLabel, 6> left =
        leftAxisLabels(mEditor->control(Editor::Field::Speed).max, speedInKilometres(m));
    std::array<std::optional<AxisLabel>, 6> leftShown;
    for (int i = 0; i < 6; ++i)
        leftShown[i] = left[i];
    mLeftAxis->setLabels(leftShown);
    mRightAxis->setLabels(rightAxisLabels(mEditor->control(Editor::Field::Incline).max));

    const bool pace = mEditor->paceShown();
    mLeftCaption->setText(leftAxisCaption(m, false));
    mPaceCaption->setText(leftAxisCaption(m, true));
    mLeftCaption->setVisible(!pace);
    mPaceCaption->setVisible(pace);
    mRightCaption->setText(rightAxisCaption(m));
    ResizeMainForm();
}

void MainWindow::focusBox(ValueBox* box)
{
    // The box may be disabled during a run; then it simply does not take the focus.
    if (!box->isEnabled())
        return;
    box->setFocus(Qt::OtherFocusReason);
    box->setSelection(0, 5);
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
    if (units == Units::Kilometres)
        mnuOptionKilometers_Click();
    else
        mnuOptionMiles_Click();
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
    mTimeLeft->setText(QStringLiteral("0:00"));
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

bool MainWindow::newWorkout()
{
    return mLifecycle.newWorkout();
}

void MainWindow::attachCommands(MoreCommands commands)
{
    mCommands = std::move(commands);
    mnuFileRandom->setVisible(static_cast<bool>(mCommands.randomWorkout));
    for (QAction* create : mnuAudioCreateFile)
        create->setVisible(static_cast<bool>(mCommands.createWorkoutFile));
    mnuFileCreateSeparator->setVisible(static_cast<bool>(mCommands.createWorkoutFile));
}

void MainWindow::mnuFileExit_Click()
{
    close();
}

void MainWindow::applyUnitsMenu(Units units)
{
    mnuOptionMiles->setChecked(units == Units::Miles);
    mnuOptionKilometers->setChecked(units == Units::Kilometres);
}

void MainWindow::mnuOptionMiles_Click()
{
    QWidget* focused = QApplication::focusWidget();
    applyUnitsMenu(Units::Miles);
    mEditor->switchUnits(Units::Miles);
    if (focused && focused->window() == this)
        focused->setFocus();
}

void MainWindow::mnuOptionKilometers_Click()
{
    QWidget* focused = QApplication::focusWidget();
    applyUnitsMenu(Units::Kilometres);
    mEditor->switchUnits(Units::Kilometres);
    if (focused && focused->window() == this)
        focused->setFocus();
}

void MainWindow::mnuOptionEquipment_Click()
{
    if (mMachineSelection)
        mMachineSelection->showSelection();
}

void MainWindow::mnuHelpContents_Click()
{
    const QString folder = mPaths.programDataDir() + QStringLiteral("/help");
    const QString index = folder + QStringLiteral("/index.html");
    if (!QFileInfo(index).isReadable()) {
        mMessages.show(QStringLiteral("To use help: \r\rthe file \"index.html\" must be in the \"") + folder
                           + QStringLiteral("\" directory"),
                       MessageBoxes::Icon::Information);
        return;
    }
    if (!mHelp)
        mHelp = new HelpWindow(index);
    mHelp->show();
    mHelp->raise();
    mHelp->activateWindow();
}

void MainWindow::mnuHelpAbout_Click()
{
    // About may open during a live run, but the settings the run reads stay put.
    std::function<void()> reset;
    if (!mRun.engine || !mRun.engine->isRunning())
        reset = [this] {
            mLifecycle.resetSettings();
            applyUnitsMenu(mSession.machine.units());
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
    mAudioMenu->menuAction()->setVisible(attached);
    for (QWidget* w : std::initializer_list<QWidget*>{mTimeLeft, mStartButton, mResumeButton})
        w->setVisible(attached);
    if (attached)
        showAudioType();
}

void MainWindow::showAudioType()
{
    if (!mRun.music)
        return;
    const int entry = mRun.music->menuEntry();
    for (int i = 0; i < 3; ++i)
        mnuAudioType[i]->setChecked(i + 1 == entry);
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
    mStartButton->setText(running ? tr("&Stop") : tr("&Start"));
    mStartButton->setToolTip(running ? tr("Stop workout.") : tr("Start workout at segment 1."));
    mResumeButton->setEnabled(!running);
    // The menus themselves, not their bar entries: a menu puts its entry back in
    // step with itself whenever the window is enabled again after the countdown.
    // Their entries too, so that no shortcut (Ctrl+N, Ctrl+O…) reaches them.
    for (QMenu* menu : {mFileMenu, mAudioMenu, mOptionsMenu}) {
        menu->setEnabled(!running);
        for (QAction* action : menu->actions())
            action->setEnabled(!running);
    }
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
    mGraph->updateGraphics();
}

void MainWindow::showSegment(int segment, const QString&, const QString&)
{
    // The editor shows the segment being run; its boxes show the same targets.
    mEditor->selectSegment(segment);
}

void MainWindow::showTimeLeft(const QString& text)
{
    mTimeLeft->setText(text);
}

// ---------------------------------------------------------------- start-up

void MainWindow::startUp(const QStringList& arguments)
{
    // Window state and machine profile first: everything after uses them.
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
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
    if (placement.state == 2)
        showMaximized();
    else
        show();
    ResizeMainForm();
    mGraph->updateGraphics();
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

bool MainWindow::runExitSequence()
{
    if (mRun.releaseDevices)
        mRun.releaseDevices();
    WindowPlacement placement;
    placement.state = windowStateValue();
    placement.pixels = normalGeometry().isValid() ? normalGeometry() : geometry();
    placement.write(mSettings, dotsPerInch());

    if (!mLifecycle.offerToSave())
        return false;

    if (mHelp)
        mHelp->close();
    return true;
}

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
    if (!runExitSequence()) {
        event->ignore();
        return;
    }
    event->accept();
}

} // namespace kntr
