#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// The workout and user-file commands of the File menu, and the file steps of
/// start-up and exit, as the file controller provides them. The main window
/// shows the file entries only once a FileCommands is attached.
class FileCommands {
public:
    virtual ~FileCommands() = default;

    /// What opening the user file named on the command line gave.
    enum class UserFileStart {
        NotRead, ///< the user file could not be read; nothing changed
        ReadWithoutWorkout, ///< the user file is open and its weight set, but its workout is missing
        Read ///< the user file and its workout are loaded
    };

    /// Start-up with a user file on the command line: reads it and its workout,
    /// and makes it the open user file when it could be read. When the user file
    /// or its workout could not be read, the user has been told why and that the
    /// default workout is loaded: the caller builds it.
    virtual UserFileStart openUserFileAtStart(const QString& path) = 0;
    /// Start-up: reads the remembered workout file; returns whether it loaded.
    /// When it did not, the user has been told why and that the default workout
    /// is loaded: the caller builds it.
    virtual bool openLastWorkout(const QString& path) = 0;
    /// Start-up: registers the user-file type with the desktop.
    virtual void registerUserFileType() = 0;

    /// Before a command throws away an edited workout (File > New, exit): asks
    /// "Do you want to save changes made to …?". Yes saves (Save As when no file
    /// is remembered). Returns false when the command is to stop: Cancel, or a
    /// save that failed or was cancelled. No returns true and leaves the
    /// modified flag as it is. An unedited workout gives true without a question.
    virtual bool offerToSave() = 0;

    /// File > Open Workout...
    virtual void openWorkout() = 0;
    /// File > Save Workout; returns whether the workout was written.
    virtual bool saveWorkout() = 0;
    /// File > Save Workout As...; returns whether the workout was written (false when cancelled).
    virtual bool saveWorkoutAs() = 0;
    /// File > Import CSV...
    virtual void importTable() = 0;
    /// File > Export CSV...
    virtual void exportTable() = 0;
    /// File > Open User...
    virtual void openUser() = 0;
    /// File > Save User
    virtual void saveUser() = 0;
    /// File > Save User As...
    virtual void saveUserAs() = 0;

    /// The recent files' menu texts ("&1 /home/me/hills.txt"), most recent first, at most four.
    virtual QStringList recentFileMenuTexts() const = 0;
    /// Opens the recent file shown as menu entry index (1..4).
    virtual void openRecentFile(int index) = 0;
    /// Reads the recent files from the settings again, after the settings were cleared.
    virtual void reloadRecentFiles() = 0;
};

} // namespace kntr
