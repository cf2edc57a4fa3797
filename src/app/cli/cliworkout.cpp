#include "cliworkout.h"

#include "model/numbers.h"

#include <QFileInfo>

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

bool CliWorkout::open(const QString& path)
{
    const std::optional<WorkoutFileContents> contents = mFiles.readWorkoutFile(path);
    if (!contents) {
        mProblem = mFiles.lastReadProblem();
        return false;
    }
    mFiles.applyWorkoutFile(*contents);
    mPath = path;
    mMachine.VerifyWO();
    mSession.workout.setWeight(mSession.weightPounds);

    mChanges.clear();
    if (!contents->segments)
        return true;
    const std::vector<SegmentValues>& read = *contents->segments;
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
    return mFiles.workoutCaption(QFileInfo(mPath).fileName());
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
