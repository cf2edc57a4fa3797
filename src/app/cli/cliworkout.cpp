#include "cliworkout.h"

#include "model/machinefit.h"
#include "model/numbers.h"

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
    if (!contents.segments)
        return true;
    const std::vector<SegmentValues>& read = *contents.segments;
    for (int i = 1; i <= mSession.workout.count() && i <= static_cast<int>(read.size()); ++i) {
        const Segment& s = mSession.workout.segment(i);
        const SegmentValues& file = read[static_cast<size_t>(i - 1)];
        QStringList changed;
        const auto compare = [&changed](const char* what, double before, double after) {
            if (before != after)
                changed << QStringLiteral("%1 %2 -> %3")
                               .arg(QLatin1String(what), plainNumber(before), plainNumber(after));
        };
        compare("speed", file.speed, s.SegmentSpeed());
        compare("incline", file.incline, s.SegmentIncline());
        compare("time", file.fileSeconds, s.SegmentTime());
        if (!changed.isEmpty())
            mChanges << QStringLiteral("segment %1: ").arg(i) + changed.join(QStringLiteral(", "));
    }
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
