#include "decodecommand.h"

#include "builder/chaptermarks.h"
#include "builder/tonefiledecoder.h"
#include "model/machine.h"
#include "tones/commandtargets.h"

#include <algorithm>
#include <limits>

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

    // The chapter marks the file holds, each on a line of its own before the
    // command heard from its start on.
    const std::vector<ChapterMark> chapters = ChapterMarks::read(path);
    auto chapter = chapters.begin();
    const auto listChaptersUntil = [&](double seconds) {
        for (; chapter != chapters.end() && chapter->seconds <= seconds; ++chapter)
            context.out << QString::asprintf("%9.3f  chapter  ", chapter->seconds) << chapter->title << '\n';
    };
    for (const DecodedCommand& c : *found) {
        listChaptersUntil(c.seconds);
        context.out << QString::asprintf("%9.3f %3d %3d  ", c.seconds, c.first, c.second)
                    << CommandTargets::fromSent(type, c.first, c.second).text()
                    << QString::asprintf("  check %3d ", c.check) << (c.checkHolds ? "ok" : "WRONG")
                    << "  repeat " << (c.repeatMatched ? "ok" : "DIFFERS")
                    << (c.beeps == 2 ? "  2 beeps" : "") << '\n';
    }
    listChaptersUntil(std::numeric_limits<double>::infinity());
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
                           "the repeated frames (and a second beep) matched. The file's chapter marks are\n"
                           "listed among them: the start, \"chapter\" and the title. Exits with 1 when a\n"
                           "command does not decode cleanly or none is found."),
            {kMachine},
            1,
            1,
            run};
}

} // namespace kntr
