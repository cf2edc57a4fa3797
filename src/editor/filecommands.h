#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// The workout and user-file commands of the File menu, and the file steps of
/// start-up and exit, as the file controller provides them. The main window
/// shows the file entries only once a FileCommands is attached.
class FileCommands
{
public:
    virtual ~FileCommands() = default;

    /// Start-up with a user file on the command line: reads it and its workout; returns whether it loaded.
    virtual bool openUserFileAtStart(const QString& path) = 0;
    /// Start-up: reads the remembered workout file; returns whether it loaded.
    virtual bool openLastWorkout(const QString& path) = 0;
    /// Start-up: registers the user-file type with the desktop.
    virtual void registerUserFileType() = 0;

    /// File > Open Workout...
    virtual void openWorkout() = 0;
    /// File > Save Workout; returns whether the workout was written.
    virtual bool saveWorkout() = 0;
    /// File > Save Workout As...; returns whether the workout was written (false when cancelled).
    virtual bool saveWorkoutAs() = 0;
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
};

} // namespace kntr
