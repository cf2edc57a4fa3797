#include "workoutdocument.h"

#include "textfile.h"

#include "model/machinefit.h"
#include "model/numbers.h"
#include "model/storedsettings.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/apppaths.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFileInfo>

namespace kntr {

FileRead readFileBytes(const QString& path)
{
    FileRead read;
    QString error;
    read.bytes = readWholeFile(path, &error);
    if (!read.bytes) {
        read.problem = QStringLiteral("cannot read %1: %2").arg(path, error);
        read.missing = !QFileInfo::exists(path);
    }
    return read;
}

WorkoutFileRead readWorkoutFile(const QString& path)
{
    WorkoutFileRead result;
    FileRead file = readFileBytes(path);
    if (!file.bytes) {
        result.problem = std::move(file.problem);
        result.missing = file.missing;
        return result;
    }
    WorkoutTextResult read = parseWorkoutText(*file.bytes);
    switch (read.status) {
    case WorkoutTextResult::Status::Ok:
        result.contents = std::move(read.contents);
        break;
    case WorkoutTextResult::Status::NotRecognised:
        result.problem = path + QStringLiteral(": ") + kWorkoutNotRecognisedMessage;
        break;
    case WorkoutTextResult::Status::Newer:
        result.problem =
            QStringLiteral("%1 was written by a newer release of Kinetrova (%2)").arg(path, read.problem);
        break;
    case WorkoutTextResult::Status::Malformed:
        result.problem = QStringLiteral("%1 is not a valid workout file: %2").arg(path, read.problem);
        break;
    }
    return result;
}

QStringList fittingChanges(const std::vector<SegmentValues>& read, const Workout& fitted,
                           double (*shownSpeed)(double))
{
    QStringList changes;
    for (int i = 1; i <= fitted.count() && i <= static_cast<int>(read.size()); ++i) {
        const Segment& s = fitted.segment(i);
        const SegmentValues& file = read[static_cast<size_t>(i - 1)];
        QStringList changed;
        const auto compare = [&changed](const char* what, double before, double after) {
            if (before != after)
                changed << QStringLiteral("%1 %2 -> %3")
                               .arg(QLatin1String(what), plainNumber(before), plainNumber(after));
        };
        compare("speed", file.speed, shownSpeed ? shownSpeed(s.SegmentSpeed()) : s.SegmentSpeed());
        compare("incline", file.incline, s.SegmentIncline());
        compare("time", file.fileSeconds, s.SegmentTime());
        if (!changed.isEmpty())
            changes << QStringLiteral("segment %1: ").arg(i) + changed.join(QStringLiteral(", "));
    }
    return changes;
}

QString workoutCaption(const Session& session, const QString& workoutFileName)
{
    QString caption = QStringLiteral("Kinetrova - ") + workoutFileName;
    if (!session.userFile.isEmpty())
        caption = QFileInfo(session.userFile).fileName() + QStringLiteral(" - ") + caption;
    return caption;
}

WorkoutDocument::WorkoutDocument(Session& session, SettingsStore& settings, WorkoutView& view,
                                 const AppPaths& paths)
    : mSession(session)
    , mSettings(settings)
    , mView(view)
    , mPaths(paths)
{
}

void WorkoutDocument::apply(const WorkoutFileContents& contents)
{
    if (contents.segments) {
        Workout fresh = mSession.workout;
        const std::vector<SegmentValues>& segments = *contents.segments;
        fresh.setCount(static_cast<int>(segments.size()));
        for (int i = 1; i <= fresh.count(); ++i) {
            Segment& s = fresh.segment(i);
            s.setSegmentSpeed(segments[i - 1].speed);
            s.setSegmentIncline(segments[i - 1].incline);
            s.setSegmentTime(segments[i - 1].seconds);
        }
        fresh.setWeight(mSession.weightPounds);
        fresh.setCurrent(1);
        mSession.workout = std::move(fresh);
    }

    if (contents.machine)
        applyMachine(*contents.machine);

    if (!contents.playList.isEmpty())
        AudioSettings(mSettings).setPlayList(contents.playList);
}

void WorkoutDocument::applyMachine(const MachineBlock& block)
{
    // Segment 1 keeps its values through the profile's change.
    const double firstSpeed = mSession.workout.segment(1).SegmentSpeed();
    const double firstIncline = mSession.workout.segment(1).SegmentIncline();

    Machine& machine = mSession.machine;
    applyMachineChoice(machine, block);
    mView.switchUnits(machine.units());
    machine.SaveSettings(mSettings);
    mView.applyMachineRanges();
    fitToMachine();
    storeFixedSegmentsForMachine(mSettings, machine);

    mSession.workout.segment(1).setSegmentSpeed(firstSpeed);
    mSession.workout.segment(1).setSegmentIncline(firstIncline);
}

void WorkoutDocument::fitToMachine()
{
    fitWorkoutToMachine(mSession.workout, mSession.machine);
    mSession.workout.setCurrent(1);
    mView.refreshWorkout();
    mView.selectSegment(1);
}

bool WorkoutDocument::write(const QString& path, QString* error)
{
    const QString folder = QFileInfo(path).absolutePath();
    // Our own data folder (default.txt, workouts) is made when first needed.
    const QString ours = QDir::cleanPath(mPaths.userDataDir());
    if (folder == ours || folder.startsWith(ours + QLatin1Char('/')))
        QDir().mkpath(folder);
    return writeTextFile(path, buildWorkoutText(mSession.workout, mSettings), error);
}

} // namespace kntr
