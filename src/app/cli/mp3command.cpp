#include "mp3command.h"

#include "cliworkout.h"
#include "workoutfilearguments.h"

#include "builder/mp3filebuilder.h"
#include "builder/recordingpreferences.h"
#include "platform/apppaths.h"

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kBitRate = QStringLiteral("bitrate");

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.mp3)"));

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    const Session& session = workout.session();

    // The stored preferences, then what the command line says.
    RecordingPreferences preferences = RecordingPreferences::read(workout.settings());
    Units units = session.machine.units();
    if (args.isSet(kBitRate)) {
        const QString rate = args.value(kBitRate);
        if (rate != QLatin1String("64") && rate != QLatin1String("96") && rate != QLatin1String("128"))
            return args.usageError(QStringLiteral("--bitrate takes 64, 96 or 128"));
        preferences.mp3BitRate = rate.toInt();
    }
    if (const int status = WorkoutFileArguments::apply(args, preferences, units); status != kCliOk)
        return status;

    std::vector<MusicEntry> music;
    if (const int status = WorkoutFileArguments::music(args, context, WorkoutFileType::Mp3, music); status != kCliOk)
        return status;

    const Mp3FileBuilder builder(session.workout, session.machine, preferences.mp3Options(units), music,
                                 context.paths.voiceCueDir());
    const WaveBuildResult result = builder.build(output);
    if (result.outcome != WaveBuildResult::Outcome::Written)
        return args.failure(WorkoutFileArguments::asLines(result.message));

    const int bitRate = music.empty() ? preferences.mp3BitRate : music.front().bitRate;
    context.out << output << ": " << result.bytes << " bytes, " << bitRate << " kbit/s, "
                << session.workout.count() << (session.workout.count() == 1 ? " segment" : " segments");
    if (result.musicRanOut)
        context.out << "; the music ends before the workout does";
    context.out << '\n';
    return kCliOk;
}

} // namespace

CliCommand mp3Command()
{
    std::vector<QCommandLineOption> options = WorkoutFileArguments::options(WorkoutFileType::Mp3);
    options.insert(options.begin() + 4,
                   QCommandLineOption(kBitRate,
                                      QStringLiteral("kbit/s without music (default: the stored preference); with "
                                                     "music the first file's bit rate is used."),
                                      QStringLiteral("64|96|128")));
    return {QStringLiteral("mp3"),
            QStringLiteral("WORKOUT.txt -o OUT.mp3 [--music FILE.mp3 ...] [--playlist LIST.asx] "
                           "[--one-file-per-segment] [--bitrate 64|96|128] [--cues on|off] [--beeps 1|2] "
                           "[--units miles|km]"),
            QStringLiteral("Write a workout as an MP3 file with control tones, spoken cues and music."),
            std::move(options),
            1,
            1,
            run};
}

} // namespace kntr
