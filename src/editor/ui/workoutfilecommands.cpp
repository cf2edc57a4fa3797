#include "workoutfilecommands.h"

#include "files/recentfiles.h"
#include "files/workoutfiles.h"

namespace kntr {

WorkoutFileCommands::WorkoutFileCommands(WorkoutFiles& files, RecentFiles& recentFiles, QString executable,
                                         ToolRunner tools)
    : mFiles(files)
    , mRecentFiles(recentFiles)
    , mExecutable(std::move(executable))
    , mTools(std::move(tools))
{
}

FileCommands::UserFileStart WorkoutFileCommands::openUserFileAtStart(const QString& path)
{
    if (!mFiles.openUserFileAtStart(path))
        return UserFileStart::NotRead;
    return mFiles.userWorkoutLoaded() ? UserFileStart::Read : UserFileStart::ReadWithoutWorkout;
}

bool WorkoutFileCommands::openLastWorkout(const QString& path)
{
    return mFiles.openLastWorkout(path);
}

bool WorkoutFileCommands::offerToSave()
{
    return mFiles.offerToSave();
}

void WorkoutFileCommands::registerUserFileType()
{
    RegisterUserFileType(mExecutable, {}, mTools);
}

void WorkoutFileCommands::openWorkout()
{
    mFiles.openWorkout();
}

bool WorkoutFileCommands::saveWorkout()
{
    return mFiles.SaveWorkoutFile(1);
}

bool WorkoutFileCommands::saveWorkoutAs()
{
    return mFiles.SaveWorkoutFile(2);
}

void WorkoutFileCommands::importTable()
{
    mFiles.importTable();
}

void WorkoutFileCommands::exportTable()
{
    mFiles.exportTable();
}

void WorkoutFileCommands::openUser()
{
    mFiles.openUser();
}

void WorkoutFileCommands::saveUser()
{
    mFiles.SaveUserFile(1);
}

void WorkoutFileCommands::saveUserAs()
{
    mFiles.SaveUserFile(2);
}

QStringList WorkoutFileCommands::recentFileMenuTexts() const
{
    QStringList texts;
    for (int i = 1; i <= mRecentFiles.count(); ++i)
        texts << mRecentFiles.menuText(i);
    return texts;
}

void WorkoutFileCommands::openRecentFile(int index)
{
    mFiles.openRecentFile(index);
}

void WorkoutFileCommands::reloadRecentFiles()
{
    mRecentFiles.LoadRecentFiles();
}

} // namespace kntr
