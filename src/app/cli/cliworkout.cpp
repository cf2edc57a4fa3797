#include "cliworkout.h"

namespace kntr {

CliWorkout::CliWorkout(CliContext& context)
    : mSettings(context.settings)
    , mView(mSession, mSettings)
    , mRecentFiles(mSettings)
    , mMachine(mSession, mSettings, mView, mMessages)
    , mFiles(mSession, mSettings, mView, mMessages, mDialogs, mRecentFiles, context.paths, mMachine)
{
    mSession.weightPounds = storedWeightPounds(mSettings);
    // As at the program's start: the machine window loads the stored profile.
    mMachine.Form_Load();
}

bool CliWorkout::open(const QString& path, Fit fit)
{
    if (mFiles.DecodeFileText(path) != 0) {
        mProblem = mFiles.lastReadProblem();
        return false;
    }
    if (fit == Fit::ToMachine)
        mMachine.VerifyWO();
    mSession.workout.setWeight(mSession.weightPounds);
    return true;
}

bool CliWorkout::saveAs(const QString& path)
{
    mMessages.texts.clear();
    if (mFiles.saveWorkoutTo(path))
        return true;
    mProblem = QStringLiteral("cannot write %1: %2")
                   .arg(path, mMessages.texts.isEmpty() ? QString() : mMessages.texts.last());
    return false;
}

} // namespace kntr
