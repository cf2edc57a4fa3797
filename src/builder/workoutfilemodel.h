#pragma once

#include "musicentry.h"
#include "recordingpreferences.h"
#include "toneverification.h"
#include "wavebuildresult.h"
#include "workoutfiletype.h"

#include "files/musiclist.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

namespace kntr {

class Clock;
class FileDialogs;
class Machine;
class MessageBoxes;
class MusicConversion;
class SettingsStore;
class Workout;
class WorkoutFileWriter;

/// What the builder window (frmCreateCD) shows and does, without widgets: the
/// music list with its entries and play-list file, the status lines and the
/// progress, and Make, Cancel and Verify.
///
/// A build runs inside makeFile and gives the event loop a turn (the
/// clock's processEvents) at every progress report, so that a click on Cancel is
/// handled while it runs. A cancelled or failed build leaves no partial file and
/// an earlier file of that name as it was.
class WorkoutFileModel {
public:
    static const QString kCaption;
    /// The window's title: kCaption and the kind of file made.
    QString caption() const;
    static const QString kSaveFirstMessage;
    static const QString kUseExitMessage;
    static const QString kAbortedMessage;

    /// The bytes that can be written in a folder, or -1 when that is not known.
    using FreeSpace = std::function<qint64(const QString& folder)>;

    /// writer builds the files; without one (or with one of another type) the
    /// list works but Make stays disabled.
    WorkoutFileModel(WorkoutFileType type, const Workout& workout, const Machine& machine,
                     SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages, Clock& clock,
                     const WorkoutFileWriter* writer);

    /// Whether the builder may open: the workout has been saved (File/LastFile
    /// is set). Otherwise the user is told to save it first.
    static bool mayOpen(const SettingsStore& settings, MessageBoxes& messages);

    WorkoutFileType type() const { return mType; }
    /// The music frame's caption: "1. Add WAV music files (optional)." or the MP3 one.
    QString frameCaption() const;

    /// The window was activated: the preferences are read again and the estimate recomputed.
    void refresh();
    const RecordingPreferences& preferences() const { return mPreferences; }

    // The music list (lstMusicFiles) and its entries, in the same order.
    const std::vector<MusicEntry>& music() const { return mMusic.rows(); }
    /// The files as the user chose them (a converted copy shows its source).
    QStringList paths() const;
    /// The selected row, from 0; -1 when none is selected.
    int selectedRow() const { return mMusic.selected(); }
    void selectRow(int row);
    /// The play-list file name box (txtBrowse).
    const QString& playListPath() const { return mPlayListPath; }

    /// Adds a music file chosen in an open dialog, when its check admits it
    /// or, with a conversion at hand, the user has it converted.
    void addFile();
    /// Deletes the selected row, or the last row when none is selected.
    void removeFile();
    /// Exchanges the selected row with the one above; the selection moves with it.
    void moveUp();
    /// Exchanges the selected row with the one below; the selection moves with it.
    void moveDown();
    /// Chooses a play list in an open dialog and loads it.
    void browse();
    /// Saves the list as a play list chosen in a save dialog.
    void saveList();
    /// Empties the list and fills it with the files of the play list at path
    /// that are of the workout's kind and pass its check.
    void setListPath(const QString& path);

    /// Asks for the output file, checks the free space and builds the file.
    void makeFile();
    /// Stops a running build or verification.
    void cancel();
    /// Reads the control tones back from the file last written and sets them
    /// against the workout's segments. Nothing when there is no such file, it
    /// cannot be read (the user is told) or Cancel was pressed.
    std::optional<ToneVerification> verify();

    /// A music check, build or verification is running: the list and Make wait.
    bool busy() const { return mActivity != Activity::Idle; }
    /// A build, conversion or verification is running, which Cancel stops.
    bool canCancel() const
    {
        return mActivity == Activity::Building || mActivity == Activity::Converting
            || mActivity == Activity::Verifying;
    }
    /// Make can build this kind of file.
    bool canMake() const;
    /// The file last written by Make, which Verify reads.
    const QString& writtenPath() const { return mWrittenPath; }
    /// The output file; the workout's file name with the type's extension until one is chosen.
    const QString& outputPath() const { return mOutputPath; }
    qint64 estimatedSize() const { return mEstimate; }

    /// The progress bar (pic), 0 to 100.
    int progress() const { return mProgress; }
    /// The status lines; CR separates lines.
    const QString& lblInfo2() const { return mInfo2; }
    const QString& lblInfo3() const { return mInfo3; }

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }
    /// Replaces the free-space query (by default the file system's figure for the user).
    void setFreeSpace(FreeSpace freeSpace) { mFreeSpace = std::move(freeSpace); }
    /// Offers to convert music that the check turns down (after its message,
    /// with the question MusicConversion::kQuestion), and lets the add dialog
    /// and play lists offer every audio file. Without one (the default) such
    /// music is turned down.
    void setMusicConversion(const MusicConversion* conversion) { mConversion = conversion; }

private:
    void recomputeEstimate();
    bool admit(const QString& path, QStringList* unreadable);
    /// Converts path when the user agrees; true when its copy joined the list.
    bool offerConversion(const QString& path);
    /// Moves the selected row one place up (-1) or down (+1).
    void exchange(int step);
    void progressed(int percent, const QString& status);
    void changed();
    QString lastFile() const;

    WorkoutFileType mType;
    const Workout& mWorkout;
    const Machine& mMachine;
    SettingsStore& mSettings;
    FileDialogs& mDialogs;
    MessageBoxes& mMessages;
    Clock& mClock;
    const WorkoutFileWriter* mWriter;
    FreeSpace mFreeSpace;
    const MusicConversion* mConversion = nullptr;

    RecordingPreferences mPreferences;
    MusicList<MusicEntry> mMusic;
    QString mPlayListPath;
    QString mMusicFolder;
    QString mOutputPath;
    QString mWrittenPath;
    qint64 mEstimate = 0;
    int mProgress = 0;
    QString mInfo2;
    QString mInfo3;
    enum class Activity { Idle, Checking, Converting, Building, Verifying };
    Activity mActivity = Activity::Idle;
    std::atomic_bool mCancel = false;
    std::function<void()> mOnChange;
};

} // namespace kntr
