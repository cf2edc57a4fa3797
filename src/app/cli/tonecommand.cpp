#include "tonecommand.h"

#include "model/machine.h"
#include "platform/qtwaveplayer.h"
#include "platform/regularfile.h"
#include "platform/systemclock.h"
#include "tones/commandencoding.h"
#include "tones/controltones.h"

#include <QFileInfo>
#include <QSaveFile>

#include <limits>

namespace kntr {

namespace {

const QCommandLineOption kMachine(QStringList{QStringLiteral("m"), QStringLiteral("machine")},
                                  QStringLiteral("Machine type; the stored profile's by default."),
                                  QStringLiteral("TYPE"));
const QCommandLineOption kStereo(QStringLiteral("stereo"),
                                 QStringLiteral("Two channels, as in workout files (mono by default)."));
const QCommandLineOption kOutput(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                 QStringLiteral("Write the WAV image to FILE."), QStringLiteral("FILE"));
const QCommandLineOption kPlay(QStringLiteral("play"),
                               QStringLiteral("Play the tone through the sound card."));

std::optional<std::int16_t> commandValue(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(v);
}

int run(const CliArguments& args, CliContext& context)
{
    const std::optional<std::int16_t> first = commandValue(args.positional().at(0));
    const std::optional<std::int16_t> second = commandValue(args.positional().at(1));
    if (!first || !second)
        return args.usageError(QStringLiteral("the values must be whole numbers of tenths "
                                              "from -32768 to 32767 (65 means 6.5)"));
    if (!args.isSet(QStringLiteral("output")) && !args.isSet(QStringLiteral("play")))
        return args.usageError(QStringLiteral("give -o FILE.wav or --play"));

    Machine machine;
    machine.GetSettings(context.settings);
    if (args.isSet(QStringLiteral("machine"))) {
        const QString type = args.machineType(QStringLiteral("machine"), machine);
        if (type.isEmpty())
            return kCliUsage;
        machine.setMachineType(type);
    }

    const bool stereo = args.isSet(QStringLiteral("stereo"));
    ControlTones tones(machine);
    tones.BuildToneBlocks(stereo);
    const QByteArray image = tones.MakeControlTone(*first, *second, stereo);
    const CommandFrames frames = EncodeCommand(machine.MachineType(), *first, *second);

    if (args.isSet(QStringLiteral("output"))) {
        const QString path = args.value(QStringLiteral("output"));
        // Renamed into place: only a regular file may be replaced.
        if (const QString reason = notARegularFile(QFileInfo(path)); !reason.isEmpty())
            return args.failure(QStringLiteral("cannot write %1: %2").arg(path, reason));
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit())
            return args.failure(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    }
    context.out << machine.MachineType() << ' ' << *first << ' ' << *second << ": " << frames[0] << ' '
                << frames[1] << ' ' << frames[2] << (stereo ? " (stereo)" : " (mono)");
    if (args.isSet(QStringLiteral("output")))
        context.out << ", " << image.size() << " bytes to " << args.value(QStringLiteral("output"));
    context.out << '\n';
    context.out.flush();

    if (args.isSet(QStringLiteral("play"))) {
        SystemClock clock;
        QtWavePlayer player(clock);
        if (!player.playImage(image, true))
            return args.failure(QStringLiteral("the tone could not be played: no sound output was found"));
    }
    return kCliOk;
}

} // namespace

CliCommand toneCommand()
{
    return {QStringLiteral("tone"),
            QStringLiteral("FIRST SECOND [--machine TYPE] [--stereo] (-o FILE.wav | --play)"),
            QStringLiteral("Write or play the control tone for two values in tenths (65 45: 6.5 and 4.5)."),
            {kMachine, kStereo, kOutput, kPlay},
            2,
            2,
            run};
}

} // namespace kntr
