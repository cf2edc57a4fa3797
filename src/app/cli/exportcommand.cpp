#include "exportcommand.h"

#include "cliworkout.h"

#include "files/textfile.h"
#include "files/workoutcsv.h"

#include <QFileInfo>

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kUnits = QStringLiteral("units");

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.csv)"));
    bool bad = false;
    const std::optional<Units> given = args.units(kUnits, bad);
    if (bad)
        return kCliUsage;

    CliWorkout workout(context);
    // The stored units, as import takes them: what one writes the other reads back.
    const Units units = given.value_or(workout.session().machine.units());
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    for (const QString& change : workout.changes())
        context.err << "kinetrova-cli export: note: " << change << '\n';
    const Session& session = workout.session();
    QString error;
    if (!writeTextFile(QFileInfo(output).absoluteFilePath(),
                       buildWorkoutTable(session.workout, session.machine, units), &error))
        return args.failure(QStringLiteral("cannot write %1: %2").arg(output, error));
    return kCliOk;
}

} // namespace

CliCommand exportCommand()
{
    return {QStringLiteral("export"),
            QStringLiteral("WORKOUT.txt -o OUT.csv [--units miles|km]"),
            QStringLiteral("Write a workout file's segments as a table (CSV) that import reads back.\n\n"
                           "The first row names the columns, time and the two attributes of the workout's\n"
                           "machine (time,speed,incline on a Treadmill); each further row is one segment:\n"
                           "its time as m:ss and its values with decimal points. The workout is read as\n"
                           "File > Open reads it: each segment fitted to the machine is listed on stderr\n"
                           "as a note."),
            {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                                QStringLiteral("The table to write."), QStringLiteral("OUT.csv")),
             QCommandLineOption(kUnits, QStringLiteral("Speeds in mph or km/h (default: the stored units)."),
                                QStringLiteral("miles|km"))},
            1,
            1,
            run};
}

} // namespace kntr
