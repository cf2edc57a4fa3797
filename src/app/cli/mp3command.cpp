#include "mp3command.h"

#include "workoutfilearguments.h"

#include "builder/mp3workoutwriter.h"
#include "builder/recordingpreferences.h"
#include "platform/apppaths.h"

namespace kntr {

namespace {

const QString kBitRate = QStringLiteral("bitrate");

int run(const CliArguments& args, CliContext& context)
{
    const Mp3WorkoutWriter writer(context.paths.voiceCueDir(), context.paths.pieceCacheDir());
    return WorkoutFileArguments::build(args, context, writer, [&](RecordingPreferences& preferences) {
        if (!args.isSet(kBitRate))
            return int(kCliOk);
        const QString rate = args.value(kBitRate);
        if (rate != QLatin1String("64") && rate != QLatin1String("96") && rate != QLatin1String("128"))
            return args.usageError(QStringLiteral("--bitrate takes 64, 96 or 128"));
        preferences.mp3BitRate = rate.toInt();
        return int(kCliOk);
    });
}

} // namespace

CliCommand mp3Command()
{
    std::vector<QCommandLineOption> options = WorkoutFileArguments::options(WorkoutFileType::Mp3);
    options.insert(
        options.begin() + 4,
        QCommandLineOption(kBitRate,
                           QStringLiteral("kbit/s without music (default: the stored preference); with "
                                          "music the first file's bit rate is used."),
                           QStringLiteral("64|96|128")));
    return {QStringLiteral("mp3"),
            QStringLiteral("WORKOUT.txt -o OUT.mp3 [--music FILE.mp3 ...] [--playlist LIST.asx] "
                           "[--one-file-per-segment] [--bitrate 64|96|128] [--cues on|off] [--beeps 1|2] "
                           "[--units miles|km] [--chapters] [--convert-music]"),
            QStringLiteral("Write a workout as an MP3 file with control tones, spoken cues and music."),
            std::move(options),
            1,
            1,
            run};
}

} // namespace kntr
