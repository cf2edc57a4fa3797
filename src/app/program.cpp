#include "program.h"

#include "builder/ui/workoutfilewindow.h"
#include "generator/ui/randomworkoutwindow.h"
#include "platform/apppaths.h"
#include "runner/ui/playlistwindow.h"
#include "runner/ui/volumewindow.h"

namespace kntr {

Program::Program(SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages, FileDialogs& dialogs,
                 Clock& clock, const QString& executable, bool withSound, ToolRunner desktopTools)
    : mRunOptions(settings)
    , mWindow(mSession, settings, paths, messages, clock, mRunOptions)
    , mMachineWindow(mSession, settings, mWindow, messages)
    , mEquipment(mMachineWindow, &mWindow)
    , mRecentFiles(settings)
    , mFiles(mSession, settings, mWindow, messages, dialogs, mRecentFiles, paths)
    , mFileCommands(mFiles, mRecentFiles, executable, std::move(desktopTools))
    , mRandomWorkout(mSession, settings, clock, [this](const Workout& w) { return mWindow.useWorkout(w); })
    , mMp3Writer(paths.voiceCueDir(), paths.pieceCacheDir())
{
    mRecentFiles.LoadRecentFiles();
    mWindow.attachMachineSelection(&mEquipment);
    mWindow.attachFileCommands(&mFileCommands);
    MainWindow::MoreCommands commands;
    commands.randomWorkout = [this] {
        if (!mRandomWorkoutWindow)
            mRandomWorkoutWindow = new RandomWorkoutWindow(mRandomWorkout, &mWindow);
        mRandomWorkoutWindow->exec();
    };
    commands.hideRandomWorkout = [this] {
        if (mRandomWorkoutWindow)
            mRandomWorkoutWindow->hide();
    };
    commands.createWorkoutFile = [this, settings = &settings, dialogs = &dialogs, messages = &messages,
                                  clock = &clock, paths = &paths](int type) {
        openWorkoutFileBuilder(type == 0 ? WorkoutFileType::Mp3 : WorkoutFileType::Wav, mSession.workout,
                               mSession.machine, *settings, *dialogs, *messages, *clock, *paths, &mWindow,
                               &mMp3Writer);
    };
    mWindow.attachCommands(std::move(commands));
    if (!withSound)
        return;

    mRun = std::make_unique<Run>(*this, settings, paths, messages, dialogs, clock);
    MainWindow::RunParts parts;
    parts.engine = &mRun->engine;
    parts.music = &mRun->music;
    parts.editPlayList = [this] {
        PlayListWindow window(mRun->playList, &mWindow);
        window.choosePlayList();
    };
    parts.showVolume = [this] {
        if (!mRun->volumeWindow)
            mRun->volumeWindow = new VolumeWindow(mRun->volume, &mWindow);
        mRun->volumeWindow->show();
        mRun->volumeWindow->raise();
        mRun->volumeWindow->activateWindow();
    };
    parts.releaseDevices = [this] { mRun->sounds.release(); };
    mWindow.attachRun(std::move(parts));
}

Program::~Program() = default;

Program::Run::Run(Program& program, SettingsStore& settings, const AppPaths& paths, MessageBoxes& messages,
                  FileDialogs& dialogs, Clock& clock)
    : sounds(clock, settings, paths, program.mSession.machine, messages)
    , music(settings, sounds.cd(), sounds.mci(), sounds.mediaPlayer(), sounds.levels(), clock)
    , engine(program.mSession, settings, program.mRunOptions, clock,
             {sounds.tones(), sounds.runPlayer(), sounds.cues(), music, sounds.levels()}, messages,
             program.mWindow)
    , playList(settings, dialogs, messages)
    , volume(sounds.levels(), sounds.cd(), sounds.player(), sounds.tones(), sounds.cues(), clock, messages)
{
    sounds.setMusicFailureHandler([this](const QString& what) { engine.musicFailed(what); });
    playList.setPlayabilityCheck(sounds.mediaPlayer());
    // The volume window's music test plays what a run would: the play list when it is the music.
    volume.setPlayListMusic(sounds.mediaPlayer(), [this] {
        return music.audioType() == RunMusic::kPlayList ? music.playListFile() : QString();
    });
}

Program::Run::~Run()
{
    sounds.setMusicFailureHandler({}); // the engine goes first
}

void Program::startUp(const QStringList& arguments)
{
    mWindow.startUp(arguments);
    // The volume levels load now, so a missing mixer is reported at start-up
    // rather than in the middle of a run.
    if (mRun)
        mRun->volume.load();
}

} // namespace kntr
