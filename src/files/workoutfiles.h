#pragma once

#include "workoutdocument.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kntr {

class AppPaths;
class FileDialogs;
class MessageBoxes;
class RecentFiles;
class SettingsStore;
class WorkoutView;
struct Session;

/// The File menu's commands on workout text files (.txt) and user files (.ktr):
/// opening, saving, the recent-files entries, File > New and the question at
/// exit, with the bookkeeping that goes with them: the remembered workout file
/// and folder, the window caption, the workout-modified flag, the open user
/// file and the recent-files list. The main window forwards its menu commands here.
class WorkoutFiles {
public:
    static const QString kNotFoundMessage;
    static const QString kUserNotRecognisedMessage;
    static const QString kUserWrongExtensionMessage;
    static const QString kSaveWorkoutFirstMessage;

    WorkoutFiles(Session& session, SettingsStore& settings, WorkoutView& view, MessageBoxes& messages,
                 FileDialogs& dialogs, RecentFiles& recentFiles, const AppPaths& paths);

    /// Which question offerToSave asks.
    enum class SaveQuestion {
        Changes, ///< "Do you want to save changes made to …?" Yes, No, Cancel
        OpenUser ///< File > Open User's "… has been modified." Yes, No
    };

    /// Before a command replaces an edited workout: asks whether to save it
    /// first. Yes saves to the remembered file, or asks for a name when there is
    /// none. Returns false when the command is to stop: Cancel, or a save that
    /// failed or was cancelled (the edits stay). No returns true and leaves the
    /// edits and the modified flag to the command. Unedited: true, no question.
    bool offerToSave(SaveQuestion question = SaveQuestion::Changes);

    /// Reads and checks the workout file at path without touching the session:
    /// nothing when it cannot be read, with the reason in lastReadProblem().
    std::optional<WorkoutFileContents> readWorkoutFile(const QString& path);
    /// Puts what a workout file holds into the session: the segments, the
    /// machine settings through the machine window's Save (segment 1 keeps its
    /// values through it) and the play list.
    void applyWorkoutFile(const WorkoutFileContents& contents);
    /// readWorkoutFile, then applyWorkoutFile: a file that cannot be read leaves
    /// the workout as it was. Shows nothing. False when the file could not be
    /// read, with the reason in lastReadProblem().
    bool loadWorkoutFile(const QString& path);
    /// loadWorkoutFile, then on success refreshes the window and remembers the
    /// file. Shows nothing; the caller tells the user why a load failed.
    bool openWorkoutFile(const QString& path);
    /// Why the last read of a workout or user file failed, naming the file;
    /// after a user file opened without its workout, why the workout failed.
    const QString& lastReadProblem() const { return mLastProblem; }
    /// Whether the file of the last failed read does not exist.
    bool lastFileMissing() const { return mLastMissing; }

    /// Start-up: reads the remembered workout file. When it cannot be read, says
    /// why and that the default workout was loaded, which start-up then builds.
    bool openLastWorkout(const QString& path);
    /// Start-up with a user file on the command line: openUserFile, telling
    /// the user when the user file or its workout could not be read (start-up
    /// then builds the default workout). False when the user file failed.
    bool openUserFileAtStart(const QString& path);

    /// File > Save (mode 1, to the remembered file) and File > Save As (mode 2).
    /// Returns true when the workout was written.
    bool SaveWorkoutFile(int mode);
    /// Writes the workout to path and remembers it; a failed write shows the
    /// reason and changes nothing. Returns true when written.
    bool saveWorkoutTo(const QString& path);
    /// File > Open Workout.
    void openWorkout();

    /// File > Import CSV: after the question offerToSave asks, reads the workout
    /// table chosen in the Open dialog, speeds in the units in force, and fits
    /// it to the machine as File > Open fits a workout; it becomes a new workout
    /// not yet saved. What the fitting changed is shown in one message; a table
    /// that is refused is named in one message and changes nothing.
    void importTable();
    /// File > Export CSV: writes the workout as a table, speeds in the units in
    /// force, to the file chosen in the Save dialog.
    void exportTable();

    /// Reads the user file at path: loads its workout, sets the weight and makes
    /// it the open user file. Shows nothing. False when the user file could not
    /// be read, with the reason in lastReadProblem().
    bool openUserFile(const QString& path);
    /// Whether the last user file opened brought its workout; false when the
    /// workout it names could not be read and the previous one stayed.
    bool userWorkoutLoaded() const { return mUserWorkoutLoaded; }
    /// File > Save User (mode 1) and File > Save User As (mode 2). Returns true
    /// when the user file was written.
    bool SaveUserFile(int mode);
    /// File > Open User.
    void openUser();

    /// A recent-files menu entry (1 … 4): opened by its extension.
    void openRecentFile(int index);
    /// Opens path as a recent-files entry does; an entry whose file is gone
    /// says so and leaves the list.
    void openRecentPath(const QString& path);

    /// The caption for a workout file name, led by the open user file's name.
    QString workoutCaption(const QString& workoutFileName) const;

private:
    /// Tells the user at start-up why a file could not be read and that the
    /// default workout is used instead.
    void showStartFailure();
    void applyWeight(int pounds);
    /// Opens a workout file chosen by the user; on success it enters the recent files.
    void openWorkoutPath(const QString& path);
    /// Opens a user file chosen by the user; on success it enters the recent files.
    void openUserPath(const QString& path);
    void rememberWorkoutFile(const QString& absolutePath);
    QString defaultFolder(const QString& folder) const;
    /// Where the workout Open and Save As dialogs start: the remembered folder
    /// while it exists, else the workouts folder.
    QString workoutFolder() const;

    Session& mSession;
    SettingsStore& mSettings;
    WorkoutView& mView;
    MessageBoxes& mMessages;
    FileDialogs& mDialogs;
    RecentFiles& mRecentFiles;
    const AppPaths& mPaths;
    WorkoutDocument mDocument;
    QString mLastProblem;
    bool mLastMissing = false;
    bool mUserWorkoutLoaded = false;
};

} // namespace kntr
