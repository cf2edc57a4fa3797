#pragma once

#include "model/units.h"

#include <QObject>
#include <QStringList>

#include <array>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

namespace kntr {

/// The main window's menus, File, Audio, Options and Help, and their entries
/// under their control names (mnuFileNew, mnuAudioType1, mnuOptionBeep2, ...).
///
/// It only builds and shows them: the window connects the entries to what they
/// do, and puts checks and visibility in step with the program through the
/// show... calls. Entries whose command is attached later start hidden.
class MainMenus : public QObject {
    Q_OBJECT

public:
    /// The workout and user-file entries of the File menu, in menu order.
    enum class FileEntry {
        OpenWorkout,
        SaveWorkout,
        SaveWorkoutAs,
        ImportTable,
        ExportTable,
        OpenUser,
        SaveUser,
        SaveUserAs
    };

    /// Builds the menus into bar.
    MainMenus(QMenuBar* bar, QObject* parent);

    QMenu* fileMenu() const { return mFileMenu; }

    QAction* fileNew() const { return mFileNew; }
    QAction* fileRandom() const { return mFileRandom; }
    QAction* fileEntry(FileEntry entry) const { return mFileEntries[fileEntryIndex(entry)]; }
    QAction* filePrint() const { return mFilePrint; }
    QAction* fileExit() const { return mFileExit; }
    QAction* audioVolume() const { return mAudioVolume; }
    QAction* optionMiles() const { return mOptionMiles; }
    QAction* optionKilometers() const { return mOptionKilometers; }
    QAction* optionEquipment() const { return mOptionEquipment; }
    QAction* helpContents() const { return mHelpContents; }
    QAction* helpAbout() const { return mHelpAbout; }

    /// Shows or hides the workout and user-file entries.
    void showFileEntries(bool shown);
    /// Shows "&Random Workout..." and the two "Create ... File..." entries.
    void showMoreCommands(bool random, bool createFiles);
    /// Shows "&Select Equipment..." and the separator above it.
    void showEquipment(bool shown);
    /// Shows the Audio menu.
    void showAudio(bool shown);
    /// The recent files' entries: one per text (at most four), and the separator after them.
    void showRecentFiles(const QStringList& texts);
    void showUnits(Units units);
    void showRunOptions(bool voiceCues, int delaySeconds, int beeps);
    /// Checks Audio entry 1..3 (none, CD, play list); other numbers check none.
    void showAudioType(int entry);
    /// Disables the File, Audio and Options menus and their entries while a
    /// workout runs, so that no shortcut reaches them either.
    void setRunning(bool running);

signals:
    /// "Create &MP3 File..." (0) or "Create &WAV File..." (1).
    void createFileChosen(int type);
    /// Recent file 1..4.
    void recentFileChosen(int number);
    /// Audio entry 1..3.
    void audioTypeChosen(int entry);
    void voiceCuesChosen(bool on);
    void delayChosen(int seconds);
    void beepsChosen(int beeps);

private:
    static int fileEntryIndex(FileEntry entry);
    void buildFileMenu(QMenuBar* bar);
    void buildAudioMenu(QMenuBar* bar);
    void buildOptionsMenu(QMenuBar* bar);
    void buildHelpMenu(QMenuBar* bar);
    QActionGroup* addOptionGroup(QMenu* menu, const QStringList& captions, const QList<int>& values,
                                 const QStringList& names);

    QMenu* mFileMenu = nullptr;
    QMenu* mAudioMenu = nullptr;
    QMenu* mOptionsMenu = nullptr;
    QAction* mFileNew = nullptr;
    QAction* mFileRandom = nullptr;
    std::array<QAction*, 10> mFileEntries{}; ///< Open .. Save User As and their separators
    QAction* mFilePrint = nullptr;
    QAction* mCreateSeparator = nullptr;
    std::array<QAction*, 2> mCreateFile{};
    std::array<QAction*, 4> mRecentFiles{};
    QAction* mRecentSeparator = nullptr;
    QAction* mFileExit = nullptr;
    std::array<QAction*, 3> mAudioType{};
    QAction* mAudioVolume = nullptr;
    QActionGroup* mVoiceGroup = nullptr;
    QActionGroup* mDelayGroup = nullptr;
    QActionGroup* mBeepGroup = nullptr;
    QAction* mOptionMiles = nullptr;
    QAction* mOptionKilometers = nullptr;
    QAction* mEquipmentSeparator = nullptr;
    QAction* mOptionEquipment = nullptr;
    QAction* mHelpContents = nullptr;
    QAction* mHelpAbout = nullptr;
};

} // namespace kntr
