#include "convertcommand.h"

#include "cliworkout.h"

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.txt)"));

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()) || !workout.saveAs(output))
        return args.failure(workout.problem());
    for (const QString& change : workout.changes())
        context.err << "kinetrova-cli convert: note: " << change << '\n';
    return kCliOk;
}

} // namespace

CliCommand convertCommand()
{
    return {QStringLiteral("convert"),
            QStringLiteral("IN.txt -o OUT.txt"),
            QStringLiteral("Rewrite a workout file of any version as a version 1.2 file.\n\n"
                           "The segments are read as File > Open reads them: every segment is fitted to\n"
                           "the machine the written file names (the file's own machine settings, or the\n"
                           "stored machine for a version 1.0 or 1.1 file). Speeds and inclines are snapped\n"
                           "to the machine's steps and held within its ranges; times are held between 10\n"
                           "and 3600 seconds. Each segment changed this way is listed on stderr as a note."),
            {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                                QStringLiteral("The file to write."), QStringLiteral("OUT.txt"))},
            1,
            1,
            run};
}

} // namespace kntr
