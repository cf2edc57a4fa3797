#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kntr {

class PlayListModel;

/// The play-list editor window `frmAudioWMP`: the music files of the live run's
/// play list, their order, and the play-list file they are saved to. It shows a
/// PlayListModel and passes the user's actions to it; each time it opens it
/// loads the stored play list afresh.
class PlayListWindow : public QDialog {
    Q_OBJECT

public:
    explicit PlayListWindow(PlayListModel& model, QWidget* parent = nullptr);
    ~PlayListWindow() override;

    /// Shows the window modally and returns, once it has closed, the play list
    /// the run is to use; empty when there is none.
    QString choosePlayList();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showModel();
    void cmdAccept_Click();

    PlayListModel& mModel;
    QGroupBox* mFraSelectAudioSource;
    QListWidget* mLstMusicFiles;
    QPushButton* mCmdAddFile;
    QPushButton* mCmdDelFile;
    QPushButton* mCmdMoveUp;
    QPushButton* mCmdMoveDown;
    QLineEdit* mTxtBrowse;
    QPushButton* mCmdBrowse;
    QPushButton* mCmdSaveAs;
    QPushButton* mCmdAccept;
    QPushButton* mCmdCancel;
};

} // namespace kntr
