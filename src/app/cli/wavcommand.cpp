#include "wavcommand.h"

#include "workoutfilearguments.h"

#include "builder/recordingpreferences.h"
#include "builder/wavworkoutwriter.h"
#include "platform/apppaths.h"

namespace kntr {

namespace {

const QString kMono = QStringLiteral("mono");

int run(const CliArguments& args, CliContext& context)
{
    const WavWorkoutWriter writer(context.paths.voiceCueDir());
    return WorkoutFileArguments::build(args, context, writer, [&](RecordingPreferences& preferences) {
        if (args.isSet(kMono))
            preferences.stereo = false;
        return int(kCliOk);
    });
}

} // namespace

CliCommand wavCommand()
{
    std::vector<QCommandLineOption> options = WorkoutFileArguments::options(WorkoutFileType::Wav);
    options.insert(options.begin() + 4,
                   QCommandLineOption(kMono, QStringLiteral("One channel (only without music).")));
    return {QStringLiteral("wav"),
            QStringLiteral("WORKOUT.txt -o OUT.wav [--music FILE.wav ...] [--playlist LIST.asx] "
                           "[--one-file-per-segment] [--mono] [--cues on|off] [--beeps 1|2] [--units "
                           "miles|km] [--chapters] "
                           "[--convert-music]"),
            QStringLiteral("Write a workout as a WAV file with control tones, spoken cues and music."),
            std::move(options),
            1,
            1,
            run};
}

} // namespace kntr
