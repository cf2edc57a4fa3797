#include "wavcommand.h"

#include "cliworkout.h"
#include "workoutfilearguments.h"

#include "builder/recordingpreferences.h"
#include "builder/wavefilebuilder.h"
#include "platform/apppaths.h"

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kMono = QStringLiteral("mono");

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
    if (args.isSet(kMono))
        preferences.stereo = false;
    if (const int status = WorkoutFileArguments::apply(args, preferences, units); status != kCliOk)
        return status;

    std::vector<MusicEntry> music;
    if (const int status = WorkoutFileArguments::music(args, context, WorkoutFileType::Wav, music); status != kCliOk)
        return status;

    const WaveFileBuilder builder(session.workout, session.machine, preferences.waveOptions(units), music,
                                  context.paths.voiceCueDir());
    const WaveBuildResult result = builder.build(output);
    if (result.outcome != WaveBuildResult::Outcome::Written)
        return args.failure(WorkoutFileArguments::asLines(result.message));

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
    std::vector<QCommandLineOption> options = WorkoutFileArguments::options(WorkoutFileType::Wav);
    options.insert(options.begin() + 4, QCommandLineOption(kMono, QStringLiteral("One channel (only without music).")));
    return {QStringLiteral("wav"),
            QStringLiteral("WORKOUT.txt -o OUT.wav [--music FILE.wav ...] [--playlist LIST.asx] "
                           "[--one-file-per-segment] [--mono] [--cues on|off] [--beeps 1|2] [--units miles|km]"),
            QStringLiteral("Write a workout as a WAV file with control tones, spoken cues and music."),
            std::move(options),
            1,
            1,
            run};
}

} // namespace kntr
