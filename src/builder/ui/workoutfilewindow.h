#pragma once

#include "builder/workoutfiletype.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kntr {

class AppPaths;
class Clock;
class FileDialogs;
class Machine;
class MessageBoxes;
class SettingsStore;
class Workout;
class WorkoutFileModel;
class WorkoutFileWriter;

/// The builder window `frmCreateCD`: the music list with its play-list file,
/// the status lines, the progress bar and the Make, Cancel, Verify and Exit
/// buttons. It shows a WorkoutFileModel and passes the user's actions to it.
/// Only Exit closes it; it cannot be closed while a file is being made.
class WorkoutFileWindow : public QDialog {
    Q_OBJECT

public:
    WorkoutFileWindow(WorkoutFileModel& model, SettingsStore& settings, MessageBoxes& messages,
                      QWidget* parent = nullptr);
    ~WorkoutFileWindow() override;

public slots:
    /// Esc, like the window's close button, is refused: Exit closes the window.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showModel();
    void cmdPref_Click();
    void cmdVerify_Click();
    void cmdExit_Click();

    WorkoutFileModel& mModel;
    SettingsStore& mSettings;
    MessageBoxes& mMessages;
    bool mExiting = false;

    QGroupBox* mFrame1;
    QListWidget* mLstMusicFiles;
    QPushButton* mCmdAddFile;
    QPushButton* mCmdDelFile;
    QPushButton* mCmdUP;
    QPushButton* mCmdDown;
    QLineEdit* mTxtBrowse;
    QPushButton* mCmdBrowse;
    QPushButton* mCmdSaveList;
    QLabel* mLblInfo3;
    QPushButton* mCmdPref;
    QLabel* mLblInfo2;
    QProgressBar* mPic;
    QPushButton* mCmdMakeFile;
    QPushButton* mCmdCancel;
    QPushButton* mCmdVerify;
    QPushButton* mCmdExit;
};

/// File > Create MP3 File... (type Mp3) and Create WAV File... (type Wav): opens
/// the builder window modally for the current workout once it has been saved,
/// else tells the user to save it first. WAV files are written with the voice
/// clips of paths; MP3 files by mp3Writer, without which the window opens with
/// Make disabled.
void openWorkoutFileBuilder(WorkoutFileType type, const Workout& workout, const Machine& machine,
                            SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages,
                            Clock& clock, const AppPaths& paths, QWidget* parent,
                            const WorkoutFileWriter* mp3Writer = nullptr);

} // namespace kntr
