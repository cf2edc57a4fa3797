#include "wavcommand.h"

#include "cliworkout.h"

#include "builder/recordingpreferences.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavmusiccheck.h"
#include "platform/apppaths.h"

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kMusic = QStringLiteral("music");
const QString kOneFilePerSegment = QStringLiteral("one-file-per-segment");
const QString kMono = QStringLiteral("mono");
const QString kCues = QStringLiteral("cues");
const QString kBeeps = QStringLiteral("beeps");
const QString kUnits = QStringLiteral("units");

// A message box text as lines on a terminal.
QString asLines(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.wav)"));

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    const Session& session = workout.session();

    // The stored preferences, then what the command line says.
    RecordingPreferences preferences = RecordingPreferences::read(workout.settings());
    Units units = session.machine.units();
    if (args.isSet(kOneFilePerSegment))
        preferences.oneFilePerSegment = true;
    if (args.isSet(kMono))
        preferences.stereo = false;
    if (args.isSet(kCues)) {
        const QString cues = args.value(kCues).toLower();
        if (cues != QLatin1String("on") && cues != QLatin1String("off"))
            return args.usageError(QStringLiteral("--cues takes on or off"));
        preferences.voiceCues = cues == QLatin1String("on");
    }
    if (args.isSet(kBeeps)) {
        const QString beeps = args.value(kBeeps);
        if (beeps != QLatin1String("1") && beeps != QLatin1String("2"))
            return args.usageError(QStringLiteral("--beeps takes 1 or 2"));
        preferences.beeps = beeps.toInt();
    }
    if (args.isSet(kUnits)) {
        const QString u = args.value(kUnits).toLower();
        if (u != QLatin1String("miles") && u != QLatin1String("km"))
            return args.usageError(QStringLiteral("--units takes miles or km"));
        units = u == QLatin1String("km") ? Units::Kilometres : Units::Miles;
    }

    std::vector<MusicEntry> music;
    for (const QString& path : args.values(kMusic)) {
        const MusicCheckResult checked = WavMusicCheck::check(path);
        if (checked.verdict == MusicCheckResult::Verdict::Unreadable)
            return args.failure(QStringLiteral("cannot read %1: %2").arg(path, checked.message));
        if (!checked.admitted())
            return args.failure(path + QStringLiteral(":\n") + asLines(checked.message));
        music.push_back(checked.entry);
    }

    const WaveFileBuilder builder(session.workout, session.machine, preferences.waveOptions(units), music,
                                  context.paths.voiceCueDir());
    const WaveBuildResult result = builder.build(output);
    if (result.outcome != WaveBuildResult::Outcome::Written)
        return args.failure(asLines(result.message));

    context.out << output << ": " << result.bytes << " bytes, "
                << (preferences.stereo || !music.empty() ? "stereo" : "mono") << ", "
                << session.workout.count() << (session.workout.count() == 1 ? " segment" : " segments");
    if (result.musicRanOut)
        context.out << "; the music ends before the workout does";
    context.out << '\n';
    return kCliOk;
}

} // namespace

CliCommand wavCommand()
{
    return {QStringLiteral("wav"),
            QStringLiteral("WORKOUT.txt -o OUT.wav [--music FILE.wav ...] [--one-file-per-segment] [--mono] "
                           "[--cues on|off] [--beeps 1|2] [--units miles|km]"),
            QStringLiteral("Write a workout as a WAV file with control tones, spoken cues and music."),
            {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")}, QStringLiteral("The file to write."),
                                QStringLiteral("OUT.wav")),
             QCommandLineOption(kMusic,
                                QStringLiteral("A 16-bit 44.1 kHz stereo WAV file to play underneath; "
                                               "repeat for more, played in order."),
                                QStringLiteral("FILE.wav")),
             QCommandLineOption(kOneFilePerSegment,
                                QStringLiteral("Music file n plays under segment n alone.")),
             QCommandLineOption(kMono, QStringLiteral("One channel (only without music).")),
             QCommandLineOption(kCues, QStringLiteral("Spoken cues (default: the stored option)."),
                                QStringLiteral("on|off")),
             QCommandLineOption(kBeeps, QStringLiteral("Tones per command (default: the stored option)."),
                                QStringLiteral("1|2")),
             QCommandLineOption(kUnits, QStringLiteral("Speak speeds in mph or km/h (default: the file's units)."),
                                QStringLiteral("miles|km"))},
            1,
            1,
            run};
}

} // namespace kntr
