#include "decodecommand.h"

#include "builder/tonefiledecoder.h"
#include "model/machine.h"
#include "tones/commandtargets.h"

#include <algorithm>

namespace kntr {

namespace {

const QCommandLineOption kMachine(
    QStringList{QStringLiteral("m"), QStringLiteral("machine")},
    QStringLiteral("Machine type the values are meant for; the stored profile's "
                   "by default."),
    QStringLiteral("TYPE"));

int run(const CliArguments& args, CliContext& context)
{
    Machine machine;
    machine.GetSettings(context.settings);
    QString type = machine.MachineType();
    if (args.isSet(kMachine)) {
        type = args.machineType(kMachine.names().first(), machine);
        if (type.isEmpty())
            return kCliUsage;
    }

    const QString path = args.positional().first();
    // Only our own reader runs here: the media backend decodes in the decoding
    // helper, whose messages go nowhere.
    QString error;
    const std::optional<std::vector<DecodedCommand>> found = ToneFileDecoder::decode(path, &error);
    if (!found)
        return args.failure(QStringLiteral("%1 could not be read as audio: %2").arg(path, error));
    if (found->empty())
        return args.failure(QStringLiteral("no control tones found in %1").arg(path));

    for (const DecodedCommand& c : *found) {
        context.out << QString::asprintf("%9.3f %3d %3d  ", c.seconds, c.first, c.second)
                    << CommandTargets::fromSent(type, c.first, c.second).text()
                    << QString::asprintf("  check %3d ", c.check) << (c.checkHolds ? "ok" : "WRONG")
                    << "  repeat " << (c.repeatMatched ? "ok" : "DIFFERS")
                    << (c.beeps == 2 ? "  2 beeps" : "") << '\n';
    }
    context.out.flush();
    const auto unclean =
        std::count_if(found->begin(), found->end(), [](const DecodedCommand& c) { return !c.clean(); });
    if (unclean > 0)
        return args.failure(
            QStringLiteral("%1 of %2 commands did not decode cleanly").arg(unclean).arg(found->size()));
    return kCliOk;
}

} // namespace

CliCommand decodeCommand()
{
    return {QStringLiteral("decode"),
            QStringLiteral("FILE.wav|FILE.mp3 [--machine TYPE]"),
            QStringLiteral("Read the control tones of a workout audio file back: one line per command.\n"
                           "Each line gives the start in seconds, the two values as sent, the targets they\n"
                           "mean for the machine type, the check value and whether it holds, and whether\n"
                           "the repeated frames (and a second beep) matched. Exits with 1 when a command\n"
                           "does not decode cleanly or none is found."),
            {kMachine},
            1,
            1,
            run};
}

} // namespace kntr
