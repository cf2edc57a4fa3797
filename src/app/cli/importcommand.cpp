#include "importcommand.h"

#include "cliworkout.h"

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kUnits = QStringLiteral("units");

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.txt)"));
    bool bad = false;
    const std::optional<Units> given = args.units(kUnits, bad);
    if (bad)
        return kCliUsage;

    CliWorkout workout(context);
    const Units units = given.value_or(workout.session().machine.units());
    if (!workout.importTable(args.positional().first(), units) || !workout.saveAs(output))
        return args.failure(workout.problem());
    for (const QString& change : workout.changes())
        context.err << "kinetrova-cli import: note: " << change << '\n';
    return kCliOk;
}

} // namespace

CliCommand importCommand()
{
    return {QStringLiteral("import"),
            QStringLiteral("FILE.csv -o OUT.txt [--units miles|km]"),
            QStringLiteral("Read a workout table (CSV) and write it as a version 1.2 workout file.\n\n"
                           "The table's first row names its columns, in any order and any case: time\n"
                           "(seconds, m:ss or h:mm:ss), speed (or the machine's first attribute, such as\n"
                           "resistance on an Elliptical) and incline (or the second attribute, such as\n"
                           "resistance on a Bike); other columns are ignored. Each further row is one\n"
                           "segment, 10 to 3600 seconds long, at most 60 rows. The columns are separated by\n"
                           "commas, semicolons or tabs; a decimal comma is read where they are not commas.\n"
                           "The workout takes the stored machine profile and is fitted to it as File > Open\n"
                           "fits a workout: each segment changed is listed on stderr as a note. A table\n"
                           "that cannot be read is refused, naming its line and column, and nothing is\n"
                           "written."),
            {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                                QStringLiteral("The workout file to write."), QStringLiteral("OUT.txt")),
             QCommandLineOption(
                 kUnits, QStringLiteral("The table's speeds in mph or km/h (default: the stored units)."),
                 QStringLiteral("miles|km"))},
            1,
            1,
            run};
}

} // namespace kntr
