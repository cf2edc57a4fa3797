#include "playlistwindow.h"

#include "platform/listrows.h"

#include "files/ui/musiclistcontrols.h"
#include "runner/playlistmodel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
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

} // namespace

PlayListWindow::PlayListWindow(PlayListModel& model, QWidget* parent)
    : QDialog(parent)
    , mModel(model)
{
    setObjectName(QStringLiteral("frmAudioWMP"));
    setWindowTitle(PlayListModel::kCaption);
    setModal(true);

    mFraSelectAudioSource = new QGroupBox(QStringLiteral("Play list"), this);
    mFraSelectAudioSource->setObjectName(QStringLiteral("fraSelectAudioSource"));
    mLstMusicFiles = new QListWidget(mFraSelectAudioSource);
    mLstMusicFiles->setObjectName(QStringLiteral("lstMusicFiles"));
    mLstMusicFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    mLstMusicFiles->setMinimumWidth(mLstMusicFiles->fontMetrics().averageCharWidth() * 60);
    mCmdAddFile = makeButton("cmdAddFile", "A&dd file", mFraSelectAudioSource);
    mCmdDelFile = makeButton("cmdDelFile", "&Del file", mFraSelectAudioSource);
    mCmdMoveUp = makeButton("cmdMoveUp", "&Move Up", mFraSelectAudioSource);
    mCmdMoveDown = makeButton("cmdMoveDown", "M&ove Dn", mFraSelectAudioSource);
    auto* browseLabel = new QLabel(QStringLiteral("Play list file"), mFraSelectAudioSource);
    browseLabel->setObjectName(QStringLiteral("lblBrowse"));
    // One field for the list's file: Browse opens a list that exists, a name
    // typed here or chosen with Save As names a new one (its rows stay).
    mTxtBrowse = new QLineEdit(mFraSelectAudioSource);
    mTxtBrowse->setObjectName(QStringLiteral("txtBrowse"));
    mTxtBrowse->setPlaceholderText(QStringLiteral("New list: type a name or use Save As"));
    browseLabel->setBuddy(mTxtBrowse);
    mCmdBrowse = makeButton("cmdBrowse", "&Browse", mFraSelectAudioSource);
    mCmdBrowse->setToolTip(QStringLiteral("Open a play list that exists"));
    mCmdSaveAs = makeButton("cmdSaveAs", "Save &As...", mFraSelectAudioSource);
    mCmdSaveAs->setToolTip(QStringLiteral("Save the list under a new name and go on editing"));

    auto* rowButtons = new QVBoxLayout;
    for (QPushButton* b : {mCmdAddFile, mCmdDelFile, mCmdMoveUp, mCmdMoveDown})
        rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    auto* frame = new QGridLayout(mFraSelectAudioSource);
    frame->addWidget(mLstMusicFiles, 0, 0);
    frame->addLayout(rowButtons, 0, 1);
    frame->addWidget(browseLabel, 1, 0, 1, 2);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(mTxtBrowse, 1);
    fileRow->addWidget(mCmdBrowse);
    fileRow->addWidget(mCmdSaveAs);
    frame->addLayout(fileRow, 2, 0, 1, 2);

    mCmdAccept = makeButton("cmdAccept", "&Save", this);
    mCmdAccept->setDefault(true);
    mCmdCancel = makeButton("cmdCancel", "&Cancel", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mCmdAccept);
    buttons->addWidget(mCmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mFraSelectAudioSource, 1);
    layout->addLayout(buttons);

    forwardMusicList(this, {mLstMusicFiles, mCmdAddFile, mCmdDelFile, mCmdMoveUp, mCmdMoveDown, mCmdBrowse},
                     mModel);
    connect(mTxtBrowse, &QLineEdit::editingFinished, this, [this] {
        if (mTxtBrowse->text() != mModel.playListPath())
            mModel.nameList(mTxtBrowse->text());
    });
    connect(mCmdSaveAs, &QPushButton::clicked, this, [this] { mModel.saveAs(); });
    connect(mCmdAccept, &QPushButton::clicked, this, [this] { cmdAccept_Click(); });
    connect(mCmdCancel, &QPushButton::clicked, this, &PlayListWindow::reject);

    mModel.setChangeHandler([this] { showModel(); });
    showModel();
}

PlayListWindow::~PlayListWindow()
{
    mModel.setChangeHandler({});
}

QString PlayListWindow::choosePlayList()
{
    exec();
    return mModel.playListFileName();
}

void PlayListWindow::showEvent(QShowEvent* event)
{
    // Opened (not merely restored on screen): start from the stored play list.
    if (!event->spontaneous())
        mModel.load();
    QDialog::showEvent(event);
}

void PlayListWindow::showModel()
{
    showListRows(*mLstMusicFiles, mModel.paths(), mModel.selectedRow());
    if (mTxtBrowse->text() != mModel.playListPath())
        mTxtBrowse->setText(mModel.playListPath());
}

void PlayListWindow::cmdAccept_Click()
{
    if (mModel.accept())
        accept();
}

} // namespace kntr
