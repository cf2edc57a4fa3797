#include "totalscommand.h"

#include "cliworkout.h"

#include "files/workoutfiles.h"
#include "model/totals.h"

namespace kntr {

namespace {

const QString kUnits = QStringLiteral("units");
const QString kWeight = QStringLiteral("weight");

int run(const CliArguments& args, CliContext& context)
{
    bool bad = false;
    const std::optional<Units> units = args.units(kUnits, bad);
    if (bad)
        return kCliUsage;
    std::optional<int> weight;
    if (args.isSet(kWeight)) {
        bool ok = false;
        const int w = args.value(kWeight).toInt(&ok);
        if (!ok || w < kMinWeightPounds || w > kMaxWeightPounds)
            return args.usageError(QStringLiteral("--weight takes whole pounds from %1 to %2")
                                       .arg(kMinWeightPounds)
                                       .arg(kMaxWeightPounds));
        weight = w;
    }

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    Session& session = workout.session();
    if (weight)
        session.workout.setWeight(*weight);
    const Units shown = units.value_or(session.machine.units());

    const WorkoutTotals totals = computeTotals(session.workout, session.machine.MachineType(), shown);
    const auto label = [](const char* text) { return QString::fromLatin1(text).leftJustified(11); };
    context.out << label("Segments:") << session.workout.count() << '\n'
                << label("Time:") << minutesSecondsText(totals.seconds) << '\n'
                << label("Distance:") << totalDistanceText(totals.distance)
                << (shown == Units::Kilometres ? " km" : " Miles") << '\n'
                << label("Calories:") << totalCaloriesText(totals.calories) << '\n';
    return kCliOk;
}

} // namespace

CliCommand totalsCommand()
{
    return {
        QStringLiteral("totals"),
        QStringLiteral("FILE.txt [--units miles|km] [--weight POUNDS]"),
        QStringLiteral("Show a workout file's segment count, time, distance and calories."),
        {QCommandLineOption(kUnits, QStringLiteral("Distance in miles or km (default: the file's units)."),
                            QStringLiteral("miles|km")),
         QCommandLineOption(kWeight,
                            QStringLiteral("Body weight for the calories (default: the stored one)."),
                            QStringLiteral("POUNDS"))},
        1,
        1,
        run};
}

} // namespace kntr
