#include "program.h"

namespace kntr {

Program::Program(SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages,
                 FileDialogs& dialogs, Clock& clock, const QString& executable)
    : mRunOptions(settings)
    , mWindow(mSession, settings, paths, messages, clock, mRunOptions)
    , mMachineWindow(mSession, settings, mWindow, messages)
    , mEquipment(mMachineWindow, &mWindow)
    , mRecentFiles(settings)
    , mFiles(mSession, settings, mWindow, messages, dialogs, mRecentFiles, paths, mMachineWindow)
    , mFileCommands(mFiles, mRecentFiles, executable)
{
    mRecentFiles.LoadRecentFiles();
    mWindow.attachMachineSelection(&mEquipment);
    mWindow.attachFileCommands(&mFileCommands);
}

} // namespace kntr
