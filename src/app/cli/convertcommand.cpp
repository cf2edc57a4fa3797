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
    if (!workout.open(args.positional().first(), CliWorkout::Fit::AsRead) || !workout.saveAs(output))
        return args.failure(workout.problem());
    return kCliOk;
}

} // namespace

CliCommand convertCommand()
{
    return {QStringLiteral("convert"),
            QStringLiteral("IN.txt -o OUT.txt"),
            QStringLiteral("Rewrite a workout file of any version as a version 1.2 file."),
            {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                                QStringLiteral("The file to write."), QStringLiteral("OUT.txt"))},
            1,
            1,
            run};
}

} // namespace kntr
