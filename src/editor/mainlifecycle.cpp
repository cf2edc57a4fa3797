#include "mainlifecycle.h"

#include "commandline.h"
#include "editor.h"
#include "equipmentselection.h"
#include "filecommands.h"

#include "files/settingsupkeep.h"
#include "model/runoptions.h"
#include "model/session.h"
#include "model/storedsettings.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/settingsstore.h"

#include <QFileInfo>

namespace kntr {

namespace {

const QString kCaption = QStringLiteral("Kinetrova");

} // namespace

MainLifecycle::MainLifecycle(Session& session, SettingsStore& settings, const AppPaths& paths, Editor& editor,
                             WorkoutView& view, RunOptions& options)
    : mSession(session)
    , mSettings(settings)
    , mPaths(paths)
    , mEditor(editor)
    , mView(view)
    , mOptions(options)
{
}

void MainLifecycle::loadMachineProfile()
{
    if (mMachineSelection) {
        mMachineSelection->load();
        return;
    }
    Machine& machine = mSession.machine;
    machine.GetSettings(mSettings);
    machine.setMachineType(machine.MachineType());
    mEditor.applyMachineRanges();
}

void MainLifecycle::buildDefaultWorkout()
{
    DefaultWorkout(mSession.workout, mSettings, mPaths.userDataDir());
    mSession.workout.setWeight(mSession.weightPounds);
    mEditor.refreshAll();
}

MainLifecycle::StartWorkout MainLifecycle::loadWorkout(const QStringList& arguments)
{
    using UserFileStart = FileCommands::UserFileStart;
    const QString userFile = userFileArgument(arguments);
    UserFileStart userStart = UserFileStart::NotRead;
    if (!userFile.isEmpty() && mFileCommands)
        userStart = mFileCommands->openUserFileAtStart(userFile);
    if (userStart == UserFileStart::NotRead) {
        mSession.userFile.clear();
        if (userFile.isEmpty())
            CleanupEarlierRelease(mSettings);
        mEditor.setWeight(storedWeightPounds(mSettings));
    }

    StartWorkout start = StartWorkout::Default;
    if (userStart == UserFileStart::Read) {
        start = StartWorkout::UserFile;
    } else if (userStart == UserFileStart::NotRead && userFile.isEmpty()) {
        const QString lastFile = FileSettings(mSettings).lastFile();
        // The default workout names default.txt before the user ever saves it:
        // while that file does not exist, build the default workout without a word.
        const bool unsavedDefault =
            lastFile == defaultWorkoutPath(mPaths.userDataDir()) && !QFileInfo::exists(lastFile);
        if (!lastFile.isEmpty() && !unsavedDefault && mFileCommands
            && mFileCommands->openLastWorkout(lastFile))
            start = StartWorkout::LastWorkout;
    }
    if (start == StartWorkout::Default) {
        // Also when the user file, or the workout it names, could not be read: the
        // default workout then becomes the remembered one, so a later Save cannot
        // overwrite the missing workout's file with something else.
        buildDefaultWorkout();
        if (userStart == UserFileStart::ReadWithoutWorkout)
            mView.setCaption(QFileInfo(mSession.userFile).fileName() + QStringLiteral(" - ") + kCaption);
    }

    // Units, speed display and run options.
    const QString units = OptionsSettings(mSettings).unitsText(QStringLiteral("Miles"));
    mView.switchUnits(units == QLatin1String("Miles") ? Units::Miles : Units::Kilometres);
    mEditor.applySpeedDisplayMode();
    mOptions.load();
    mEditor.selectSegment(mSession.workout.current());
    mSession.modified = false;
    mView.resetElapsedTime();

    if (mFileCommands)
        mFileCommands->registerUserFileType();

    // Fit the workout to the machine.
    mEditor.applyMachineRanges();
    if (mMachineSelection)
        mMachineSelection->verifyWorkout();
    mEditor.refreshAll();
    return start;
}

bool MainLifecycle::offerToSave()
{
    return !mFileCommands || mFileCommands->offerToSave();
}

bool MainLifecycle::newWorkout()
{
    // Starting afresh would throw away unsaved edits without a word.
    if (!offerToSave())
        return false;
    startNewWorkout();
    return true;
}

void MainLifecycle::startNewWorkout()
{
    NewWorkout(mSession.workout, mSession.machine, mSettings);
    mSession.workout.setWeight(mSession.weightPounds);
    mSession.modified = false;
    mEditor.selectSegment(1);
    mEditor.refreshAll();
    mView.setCaption(kCaption);
    mView.resetElapsedTime();
}

bool MainLifecycle::useWorkout(const Workout& workout)
{
    // A generated workout the user has not touched since is replaced without a
    // question: asking each time would turn Make Workout into a chore.
    const bool untouched = mGenerated && sameSegments(*mGenerated, mSession.workout);
    if (!untouched && !offerToSave())
        return false;
    startNewWorkout();
    mSession.workout = workout;
    mSession.workout.setCurrent(1);
    mSession.modified = true;
    mEditor.refreshAll();
    mGenerated = mSession.workout; // as the editor shows it
    return true;
}

void MainLifecycle::resetSettings()
{
    ResetSettings(mSettings, mSession.machine);
    mEditor.applyMachineRanges();
    mEditor.applySpeedDisplayMode();
    mOptions.load();
    // Nothing of the cleared settings stays behind in memory: the workout fits
    // the first start's machine, no file is remembered, the recent files are gone.
    if (mMachineSelection)
        mMachineSelection->verifyWorkout();
    if (mFileCommands)
        mFileCommands->reloadRecentFiles();
    mView.setCaption(kCaption);
    mEditor.refreshAll();
}

} // namespace kntr
