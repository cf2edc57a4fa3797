#include "cliworkout.h"

#include "files/workoutcsv.h"
#include "model/machinefit.h"

#include <QFileInfo>

namespace kntr {

CliWorkout::CliWorkout(CliContext& context)
    : mSettings(context.settings)
    , mView(mSession, mSettings)
    , mDocument(mSession, mSettings, mView, context.paths)
{
    mSession.weightPounds = storedWeightPounds(mSettings);
    loadStoredMachine(mSession.machine, mSettings);
}

bool CliWorkout::open(const QString& path)
{
    const WorkoutFileRead file = readWorkoutFile(path);
    if (!file.contents) {
        mProblem = file.problem;
        return false;
    }
    const WorkoutFileContents& contents = *file.contents;
    mDocument.apply(contents);
    mPath = path;
    mDocument.fitToMachine();
    mSession.workout.setWeight(mSession.weightPounds);

    mChanges.clear();
    if (contents.segments)
        mChanges = fittingChanges(*contents.segments, mSession.workout);
    return true;
}

bool CliWorkout::importTable(const QString& path, Units units)
{
    const WorkoutTableResult read = readWorkoutTableFile(path, mSession.machine, units);
    if (!read.table) {
        mProblem = read.problem;
        return false;
    }
    mDocument.apply(read.table->contents());
    mPath = path;
    mDocument.fitToMachine();
    mSession.workout.setWeight(mSession.weightPounds);
    mChanges = read.table->changes(mSession.workout);
    return true;
}

QString CliWorkout::caption() const
{
    return workoutCaption(mSession, QFileInfo(mPath).fileName());
}

bool CliWorkout::saveAs(const QString& path)
{
    QString error;
    if (mDocument.write(QFileInfo(path).absoluteFilePath(), &error))
        return true;
    mProblem = QStringLiteral("cannot write %1: %2").arg(path, error);
    return false;
}

} // namespace kntr
