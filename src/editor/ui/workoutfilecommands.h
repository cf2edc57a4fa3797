#pragma once

#include "editor/filecommands.h"
#include "files/fileassociation.h"

namespace kntr {

class RecentFiles;
class WorkoutFiles;

/// The main window's file commands carried out by the workout-file controller
/// and the recent-files list.
class WorkoutFileCommands : public FileCommands {
public:
    /// executable is the program registered to open user files; tools starts the
    /// desktop's database tools after a registration changed (default: detached).
    WorkoutFileCommands(WorkoutFiles& files, RecentFiles& recentFiles, QString executable,
                        ToolRunner tools = {});

    UserFileStart openUserFileAtStart(const QString& path) override;
    bool openLastWorkout(const QString& path) override;
    void registerUserFileType() override;
    bool offerToSave() override;
    void openWorkout() override;
    bool saveWorkout() override;
    bool saveWorkoutAs() override;
    void importTable() override;
    void exportTable() override;
    void openUser() override;
    void saveUser() override;
    void saveUserAs() override;
    QStringList recentFileMenuTexts() const override;
    void openRecentFile(int index) override;
    void reloadRecentFiles() override;

private:
    WorkoutFiles& mFiles;
    RecentFiles& mRecentFiles;
    QString mExecutable;
    ToolRunner mTools;
};

} // namespace kntr
