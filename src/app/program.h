#pragma once

#include "editor/ui/machinewindowselection.h"
#include "editor/ui/mainwindow.h"
#include "editor/ui/workoutfilecommands.h"
#include "files/recentfiles.h"
#include "files/workoutfiles.h"
#include "builder/mp3workoutwriter.h"
#include "generator/randomworkoutmodel.h"
#include "machine/machineselectionmodel.h"
#include "model/runoptions.h"
#include "model/session.h"
#include "runner/runengine.h"
#include "runner/playlistmodel.h"
#include "runner/runmusic.h"
#include "runner/volumewindowmodel.h"
#include "sounddevices.h"

#include <QPointer>
#include <QStringList>

#include <memory>

namespace kntr {

class AppPaths;
class Clock;
class FileDialogs;
class MessageBoxes;
class SettingsStore;
class PlayListWindow;
class RandomWorkoutWindow;
class VolumeWindow;

/// The desktop program put together: the session, the main window and the
/// machine and file controllers wired to it, and with sound the live run. The
/// platform services come from outside, so tests can run the whole program
/// with doubles; the sound devices are the real ones, made only when asked for.
class Program {
public:
    Program(SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages, FileDialogs& dialogs,
            Clock& clock, const QString& executable, bool withSound = false, ToolRunner desktopTools = {});
    ~Program();

    /// Runs the start-up sequence with the program's command line and shows the window.
    void startUp(const QStringList& arguments);

    Session& session() { return mSession; }
    MainWindow& window() { return mWindow; }
    WorkoutFiles& files() { return mFiles; }
    MachineSelectionModel& machineWindow() { return mMachineWindow; }
    RecentFiles& recentFiles() { return mRecentFiles; }
    RunOptions& runOptions() { return mRunOptions; }

private:
    Session mSession;
    RunOptions mRunOptions;
    MainWindow mWindow;
    MachineSelectionModel mMachineWindow;
    MachineWindowSelection mEquipment;
    RecentFiles mRecentFiles;
    WorkoutFiles mFiles;
    WorkoutFileCommands mFileCommands;
    RandomWorkoutModel mRandomWorkout;
    Mp3WorkoutWriter mMp3Writer;
    QPointer<RandomWorkoutWindow> mRandomWorkoutWindow;

    // The live run, with sound only.
    struct Run {
        Run(Program& program, SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages,
            FileDialogs& dialogs, Clock& clock);
        ~Run();
        SoundDevices sounds;
        RunMusic music;
        RunEngine engine;
        PlayListModel playList;
        VolumeWindowModel volume;
        QPointer<VolumeWindow> volumeWindow;
    };
    std::unique_ptr<Run> mRun;
};

} // namespace kntr
