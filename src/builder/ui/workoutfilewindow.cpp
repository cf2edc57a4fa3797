#include "workoutfilewindow.h"

#include "platform/listrows.h"

#include "recordingpreferenceswindow.h"
#include "builder/musicconversion.h"
#include "builder/wavworkoutwriter.h"
#include "builder/workoutfilemodel.h"
#include "files/ui/musiclistcontrols.h"

#include "platform/apppaths.h"
#include "platform/messageboxes.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kntr {

namespace {

QPushButton* makeButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QLatin1String(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* makeLabel(const char* name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

// Texts use CR as the line break.
QString lines(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// The commands found in the file, one line each against the segments.
void showVerification(QWidget* parent, const ToneVerification& verification)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("frmVerify"));
    dialog.setWindowTitle(QStringLiteral("Kinetrova - Control tones in the workout file"));
    auto* summary = new QLabel(verification.summary(), &dialog);
    summary->setObjectName(QStringLiteral("lblSummary"));
    summary->setWordWrap(true);
    auto* text = new QPlainTextEdit(verification.lines().join(QLatin1Char('\n')), &dialog);
    text->setObjectName(QStringLiteral("txtCommands"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setMinimumSize(text->fontMetrics().averageCharWidth() * 90, text->fontMetrics().height() * 16);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(summary);
    layout->addWidget(text, 1);
    layout->addWidget(buttons);
    dialog.exec();
}

} // namespace

WorkoutFileWindow::WorkoutFileWindow(WorkoutFileModel& model, SettingsStore& settings, MessageBoxes& messages,
                                     QWidget* parent)
    : QDialog(parent)
    , mModel(model)
    , mSettings(settings)
    , mMessages(messages)
{
    setObjectName(QStringLiteral("frmCreateCD"));
    setWindowTitle(mModel.caption());
    setModal(true);

    mFrame1 = new QGroupBox(mModel.frameCaption(), this);
    mFrame1->setObjectName(QStringLiteral("Frame1"));
    mLstMusicFiles = new QListWidget(mFrame1);
    mLstMusicFiles->setObjectName(QStringLiteral("lstMusicFiles"));
    mLstMusicFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    mLstMusicFiles->setMinimumWidth(mLstMusicFiles->fontMetrics().averageCharWidth() * 60);
    mCmdAddFile = makeButton("cmdAddFile", "&Add file", mFrame1);
    mCmdDelFile = makeButton("cmdDelFile", "&Del file", mFrame1);
    mCmdUP = makeButton("cmdUP", "Move &Up", mFrame1);
    mCmdDown = makeButton("cmdDown", "Move &Dn", mFrame1);
    auto* browseLabel = new QLabel(QStringLiteral("Playlist (optional)"), mFrame1);
    browseLabel->setObjectName(QStringLiteral("lblBrowse"));
    mTxtBrowse = new QLineEdit(mFrame1);
    mTxtBrowse->setObjectName(QStringLiteral("txtBrowse"));
    // Chosen with Browse or Save List: a name typed in would empty the list on
    // the way to a new file.
    mTxtBrowse->setReadOnly(true);
    browseLabel->setBuddy(mTxtBrowse);
    mCmdBrowse = makeButton("cmdBrowse", "&Browse", mFrame1);
    mCmdSaveList = makeButton("cmdSaveList", "&Save List", mFrame1);
    mLblInfo3 = makeLabel("lblInfo3", mFrame1);

    auto* rowButtons = new QVBoxLayout;
    for (QPushButton* b : {mCmdAddFile, mCmdDelFile, mCmdUP, mCmdDown})
        rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(mCmdBrowse);
    listButtons->addWidget(mCmdSaveList);
    auto* frame = new QGridLayout(mFrame1);
    frame->addWidget(mLstMusicFiles, 0, 0);
    frame->addLayout(rowButtons, 0, 1);
    frame->addWidget(browseLabel, 1, 0, 1, 2);
    frame->addWidget(mTxtBrowse, 2, 0);
    frame->addLayout(listButtons, 2, 1);
    frame->addWidget(mLblInfo3, 3, 0, 1, 2);

    mCmdPref = makeButton("cmdPref", "&Preferences...", this);
    mLblInfo2 = makeLabel("lblInfo2", this);
    mLblInfo2->setMinimumHeight(mLblInfo2->fontMetrics().height() * 3);
    mLblInfo2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mPic = new QProgressBar(this);
    mPic->setObjectName(QStringLiteral("pic"));
    mPic->setRange(0, 100);
    mPic->setTextVisible(false);

    mCmdMakeFile = makeButton("cmdMakeFile", "&Make Workout File", this);
    mCmdMakeFile->setDefault(true);
    mCmdCancel = makeButton("cmdCancel", "&Cancel", this);
    mCmdVerify = makeButton("cmdVerify", "&Verify", this);
    mCmdVerify->setToolTip(QStringLiteral("Read the control tones back from the file just made."));
    mCmdExit = makeButton("cmdExit", "E&xit", this);

    auto* prefRow = new QHBoxLayout;
    prefRow->addStretch(1);
    prefRow->addWidget(mCmdPref);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mCmdMakeFile);
    buttons->addWidget(mCmdCancel);
    buttons->addWidget(mCmdVerify);
    buttons->addStretch(1);
    buttons->addWidget(mCmdExit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mFrame1, 1);
    layout->addLayout(prefRow);
    layout->addWidget(mLblInfo2);
    layout->addWidget(mPic);
    layout->addLayout(buttons);

    forwardMusicList(this, {mLstMusicFiles, mCmdAddFile, mCmdDelFile, mCmdUP, mCmdDown, mCmdBrowse}, mModel);
    connect(mCmdSaveList, &QPushButton::clicked, this, [this] { mModel.saveList(); });
    connect(mCmdPref, &QPushButton::clicked, this, [this] { cmdPref_Click(); });
    connect(mCmdMakeFile, &QPushButton::clicked, this, [this] { mModel.makeFile(); });
    connect(mCmdCancel, &QPushButton::clicked, this, [this] { mModel.cancel(); });
    connect(mCmdVerify, &QPushButton::clicked, this, [this] { cmdVerify_Click(); });
    connect(mCmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });

    mModel.setChangeHandler([this] { showModel(); });
    showModel();
}

WorkoutFileWindow::~WorkoutFileWindow()
{
    mModel.setChangeHandler({});
}

void WorkoutFileWindow::reject()
{
    close();
}

void WorkoutFileWindow::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        if (const QScreen* screen = this->screen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        mModel.refresh();
    }
    QDialog::showEvent(event);
}

void WorkoutFileWindow::closeEvent(QCloseEvent* event)
{
    if (mExiting) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    if (!mModel.busy())
        mMessages.show(WorkoutFileModel::kUseExitMessage, MessageBoxes::Icon::Information);
}

void WorkoutFileWindow::showModel()
{
    showListRows(*mLstMusicFiles, mModel.paths(), mModel.selectedRow());
    if (mTxtBrowse->text() != mModel.playListPath())
        mTxtBrowse->setText(mModel.playListPath());
    mLblInfo2->setText(lines(mModel.lblInfo2()));
    mLblInfo3->setText(lines(mModel.lblInfo3()));
    mPic->setValue(mModel.progress());

    const bool idle = !mModel.busy();
    for (QWidget* w : std::initializer_list<QWidget*>{mFrame1, mCmdAddFile, mCmdDelFile, mCmdUP, mCmdDown,
                                                      mCmdPref, mCmdExit})
        w->setEnabled(idle);
    mCmdMakeFile->setEnabled(mModel.canMake());
    mCmdCancel->setEnabled(mModel.canCancel());
    mCmdVerify->setEnabled(idle && !mModel.writtenPath().isEmpty());
    if (idle)
        unsetCursor();
    else
        setCursor(Qt::BusyCursor);
}

void WorkoutFileWindow::cmdPref_Click()
{
    RecordingPreferencesWindow preferences(mSettings, this);
    preferences.exec();
    mModel.refresh();
}

void WorkoutFileWindow::cmdVerify_Click()
{
    if (const std::optional<ToneVerification> verification = mModel.verify())
        showVerification(this, *verification);
}

void WorkoutFileWindow::cmdExit_Click()
{
    if (mModel.busy())
        return;
    mExiting = true;
    accept();
}

void openWorkoutFileBuilder(WorkoutFileType type, const Workout& workout, const Machine& machine,
                            SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages,
                            Clock& clock, const AppPaths& paths, QWidget* parent,
                            const WorkoutFileWriter* mp3Writer)
{
    if (!WorkoutFileModel::mayOpen(settings, messages))
        return;
    const WavWorkoutWriter wavWriter(paths.voiceCueDir());
    const WorkoutFileWriter* writer = type == WorkoutFileType::Wav ? &wavWriter : mp3Writer;
    WorkoutFileModel model(type, workout, machine, settings, dialogs, messages, clock, writer);
    const MusicConversion conversion(paths.musicCacheDir());
    model.setMusicConversion(&conversion);
    WorkoutFileWindow window(model, settings, messages, parent);
    window.exec();
}

} // namespace kntr
