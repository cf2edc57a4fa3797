#include "mainmenus.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace kntr {

namespace {

QMenu* addMenu(QMenuBar* bar, const QString& caption, const QString& name)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* addEntry(QMenu* menu, const QString& caption, const QString& name)
{
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar* bar, QObject* parent)
    : QObject(parent)
{
    buildFileMenu(bar);
    buildAudioMenu(bar);
    buildOptionsMenu(bar);
    buildHelpMenu(bar);
}

int MainMenus::fileEntryIndex(FileEntry entry)
{
    // The separator before the user-file entries stands between them.
    const int i = static_cast<int>(entry);
    return i < static_cast<int>(FileEntry::OpenUser) ? i + 1 : i + 2;
}

void MainMenus::buildFileMenu(QMenuBar* bar)
{
    mFileMenu = addMenu(bar, tr("&File"), QStringLiteral("mnuFile"));
    mFileNew = addEntry(mFileMenu, tr("&New Workout"), QStringLiteral("mnuFileNew"));
    mFileNew->setShortcut(QKeySequence::New);
    mFileRandom = addEntry(mFileMenu, tr("&Random Workout..."), QStringLiteral("mnuFileRandom"));
    mFileRandom->setVisible(false);

    // The workout and user-file entries wait, hidden, for the file commands.
    const struct {
        const char* caption;
        const char* name;
    } fileEntries[] = {
        {nullptr, "mnuFileSep1"},
        {"&Open Workout...", "mnuFileOpen"},
        {"&Save Workout", "mnuFileSave"},
        {"Save Workout &As...", "mnuFileSaveAs"},
        {"&Import CSV...", "mnuFileImport"},
        {"Expor&t CSV...", "mnuFileExport"},
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
    fileEntry(FileEntry::OpenWorkout)->setShortcut(QKeySequence::Open);
    fileEntry(FileEntry::SaveWorkout)->setShortcut(QKeySequence::Save);
    // Not bound to Save As on every desktop.
    fileEntry(FileEntry::SaveWorkoutAs)->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    mFileMenu->addSeparator()->setObjectName(QStringLiteral("mnuFileSep3"));
    mFilePrint = addEntry(mFileMenu, tr("&Print..."), QStringLiteral("mnuFilePrint"));
    mFilePrint->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    mCreateSeparator = mFileMenu->addSeparator();
    mCreateSeparator->setObjectName(QStringLiteral("mnuFileSep4"));
    mCreateSeparator->setVisible(false);
    const QString createCaptions[] = {tr("Create &MP3 File..."), tr("Create &WAV File...")};
    for (int i = 0; i < 2; ++i) {
        QAction* create =
            addEntry(mFileMenu, createCaptions[i], QStringLiteral("mnuAudioCreateFile%1").arg(i));
        create->setVisible(false);
        connect(create, &QAction::triggered, this, [this, i] { emit createFileChosen(i); });
        mCreateFile[i] = create;
    }
    mFileMenu->addSeparator()->setObjectName(QStringLiteral("mnuFileSep5"));
    for (int i = 0; i < 4; ++i) {
        QAction* recent = addEntry(mFileMenu, QString(), QStringLiteral("mnuFileMRU%1").arg(i + 1));
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, i] { emit recentFileChosen(i + 1); });
        mRecentFiles[i] = recent;
    }
    mRecentSeparator = mFileMenu->addSeparator();
    mRecentSeparator->setObjectName(QStringLiteral("mnuFileMRUSep"));
    mRecentSeparator->setVisible(false);
    mFileExit = addEntry(mFileMenu, tr("E&xit"), QStringLiteral("mnuFileExit"));
    mFileExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
}

void MainMenus::buildAudioMenu(QMenuBar* bar)
{
    // The music of a run, waiting, hidden, for the run parts.
    mAudioMenu = addMenu(bar, tr("&Audio"), QStringLiteral("mnuAudio"));
    mAudioMenu->menuAction()->setVisible(false);
    auto* audioGroup = new QActionGroup(this);
    const QString audioCaptions[] = {tr("&None"), tr("&CD-ROM"), tr("&Play list...")};
    for (int i = 0; i < 3; ++i) {
        QAction* entry = addEntry(mAudioMenu, audioCaptions[i], QStringLiteral("mnuAudioType%1").arg(i + 1));
        entry->setCheckable(true);
        audioGroup->addAction(entry);
        connect(entry, &QAction::triggered, this, [this, i] { emit audioTypeChosen(i + 1); });
        mAudioType[i] = entry;
    }
    mAudioMenu->addSeparator();
    mAudioVolume = addEntry(mAudioMenu, tr("&Volume..."), QStringLiteral("mnuAudioVolume"));
}

void MainMenus::buildOptionsMenu(QMenuBar* bar)
{
    QMenu* options = mOptionsMenu = addMenu(bar, tr("&Options"), QStringLiteral("mnuOptions"));
    mVoiceGroup = addOptionGroup(options, {tr("&Voice Cues On"), tr("Voice Cues O&ff")}, {1, 0},
                                 {QStringLiteral("mnuOptionVoiceOn"), QStringLiteral("mnuOptionVoiceOff")});
    connect(mVoiceGroup, &QActionGroup::triggered, this,
            [this](QAction* action) { emit voiceCuesChosen(action->data().toInt() != 0); });
    options->addSeparator();
    mDelayGroup = addOptionGroup(
        options, {tr("Delay start &5 seconds"), tr("Delay start &10 seconds"), tr("Delay start &20 seconds")},
        {5, 10, 20},
        {QStringLiteral("mnuOptionDelay5"), QStringLiteral("mnuOptionDelay10"),
         QStringLiteral("mnuOptionDelay20")});
    connect(mDelayGroup, &QActionGroup::triggered, this,
            [this](QAction* action) { emit delayChosen(action->data().toInt()); });
    options->addSeparator();
    mBeepGroup = addOptionGroup(options, {tr("Beep &once"), tr("Beep &twice")}, {1, 2},
                                {QStringLiteral("mnuOptionBeep1"), QStringLiteral("mnuOptionBeep2")});
    connect(mBeepGroup, &QActionGroup::triggered, this,
            [this](QAction* action) { emit beepsChosen(action->data().toInt()); });
    options->addSeparator();
    auto* units = new QActionGroup(this);
    mOptionMiles = addEntry(options, tr("&Miles and pounds"), QStringLiteral("mnuOptionMiles"));
    mOptionKilometers =
        addEntry(options, tr("&Kilometers and kilograms"), QStringLiteral("mnuOptionKilometers"));
    for (QAction* a : {mOptionMiles, mOptionKilometers}) {
        a->setCheckable(true);
        units->addAction(a);
    }
    mOptionMiles->setChecked(true);
    mEquipmentSeparator = options->addSeparator();
    mEquipmentSeparator->setVisible(false);
    mOptionEquipment = addEntry(options, tr("&Select Equipment..."), QStringLiteral("mnuOptionEquipment"));
    mOptionEquipment->setVisible(false);
}

void MainMenus::buildHelpMenu(QMenuBar* bar)
{
    QMenu* help = addMenu(bar, tr("&Help"), QStringLiteral("mnuHelp"));
    mHelpContents = addEntry(help, tr("&Contents..."), QStringLiteral("mnuHelpContents"));
    mHelpContents->setShortcut(QKeySequence::HelpContents);
    mHelpAbout = addEntry(help, tr("&About..."), QStringLiteral("mnuHelpAbout"));
}

QActionGroup* MainMenus::addOptionGroup(QMenu* menu, const QStringList& captions, const QList<int>& values,
                                        const QStringList& names)
{
    auto* group = new QActionGroup(this);
    for (int i = 0; i < captions.size(); ++i) {
        QAction* action = addEntry(menu, captions[i], names[i]);
        action->setCheckable(true);
        action->setData(values[i]);
        group->addAction(action);
    }
    return group;
}

void MainMenus::showFileEntries(bool shown)
{
    for (QAction* entry : mFileEntries)
        entry->setVisible(shown);
}

void MainMenus::showMoreCommands(bool random, bool createFiles)
{
    mFileRandom->setVisible(random);
    for (QAction* create : mCreateFile)
        create->setVisible(createFiles);
    mCreateSeparator->setVisible(createFiles);
}

void MainMenus::showEquipment(bool shown)
{
    mOptionEquipment->setVisible(shown);
    mEquipmentSeparator->setVisible(shown);
}

void MainMenus::showAudio(bool shown)
{
    mAudioMenu->menuAction()->setVisible(shown);
}

void MainMenus::showRecentFiles(const QStringList& texts)
{
    for (int i = 0; i < 4; ++i) {
        const bool shown = i < texts.size();
        mRecentFiles[i]->setVisible(shown);
        if (shown)
            mRecentFiles[i]->setText(texts[i]);
    }
    mRecentSeparator->setVisible(!texts.isEmpty());
}

void MainMenus::showUnits(Units units)
{
    mOptionMiles->setChecked(units == Units::Miles);
    mOptionKilometers->setChecked(units == Units::Kilometres);
}

void MainMenus::showRunOptions(bool voiceCues, int delaySeconds, int beeps)
{
    const auto check = [](QActionGroup* group, int value) {
        for (QAction* action : group->actions())
            action->setChecked(action->data().toInt() == value);
    };
    check(mVoiceGroup, voiceCues ? 1 : 0);
    check(mDelayGroup, delaySeconds);
    check(mBeepGroup, beeps);
}

void MainMenus::showAudioType(int entry)
{
    for (int i = 0; i < 3; ++i)
        mAudioType[i]->setChecked(i + 1 == entry);
}

void MainMenus::setRunning(bool running)
{
    // The menus themselves, not their bar entries: a menu puts its entry back in
    // step with itself whenever the window is enabled again after the countdown.
    // Their entries too, so that no shortcut (Ctrl+N, Ctrl+O…) reaches them.
    for (QMenu* menu : {mFileMenu, mAudioMenu, mOptionsMenu}) {
        menu->setEnabled(!running);
        for (QAction* action : menu->actions())
            action->setEnabled(!running);
    }
}

} // namespace kntr
