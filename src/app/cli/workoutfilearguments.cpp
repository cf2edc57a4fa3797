#include "workoutfilearguments.h"

#include "builder/musicconversion.h"
#include "builder/recordingpreferences.h"
#include "builder/workoutfilewriter.h"
#include "cliworkout.h"
#include "files/asxplaylist.h"
#include "platform/apppaths.h"
#include "platform/regularfile.h"

#include <QDir>
#include <QFileInfo>

namespace kntr {

namespace {

const QString kOutput = QStringLiteral("o");
const QString kMusic = QStringLiteral("music");
const QString kPlayList = QStringLiteral("playlist");
const QString kOneFilePerSegment = QStringLiteral("one-file-per-segment");
const QString kCues = QStringLiteral("cues");
const QString kBeeps = QStringLiteral("beeps");
const QString kUnits = QStringLiteral("units");
const QString kChapters = QStringLiteral("chapters");
const QString kConvertMusic = QStringLiteral("convert-music");

/// Puts a converted copy in place of each entry of music that pending names
/// (its index and file); the copies take bitRate unless the list begins with
/// music that needs no conversion, whose bit rate the workout then takes.
int convertMusic(const CliArguments& args, CliContext& context, WorkoutFileType type, int bitRate,
                 const std::vector<std::pair<size_t, QString>>& pending, std::vector<MusicEntry>& music)
{
    if (pending.empty())
        return kCliOk;
    MusicTarget target{type, bitRate};
    if (type == WorkoutFileType::Mp3 && pending.front().first != 0)
        target.bitRate = music.front().bitRate;
    const MusicConversion conversion(context.paths.musicCacheDir());
    const std::atomic_bool cancel = false;
    const QString prefix =
        QStringLiteral("kinetrova-cli ") + workoutFileTypeName(type) + QStringLiteral(": ");
    for (const auto& [index, path] : pending) {
        int shown = -1;
        const MusicConversion::Result result = conversion.convert(
            path, target,
            [&](int percent) {
                // Every tenth percent, on one line that ends when the file is done.
                if (percent / 10 == shown / 10)
                    return;
                if (shown < 0)
                    context.err << prefix << "converting " << path << ':';
                shown = percent;
                context.err << ' ' << percent << '%';
                context.err.flush();
            },
            cancel);
        if (shown >= 0)
            context.err << '\n';
        if (result.outcome != MusicConversion::Outcome::Converted)
            return args.failure(result.message);
        music[index] = result.entry;
    }
    QStringList inUse;
    for (const MusicEntry& entry : music)
        inUse << entry.path;
    conversion.trim(inUse);
    return kCliOk;
}

} // namespace

std::vector<QCommandLineOption> WorkoutFileArguments::options(WorkoutFileType type)
{
    const QString name = workoutFileTypeName(type);
    const QString music = type == WorkoutFileType::Mp3
        ? QStringLiteral("A constant-bit-rate MPEG-1 Layer III file at 44.1 kHz, stereo or "
                         "joint stereo, to play underneath; repeat for more, played in order.")
        : QStringLiteral("A 16-bit 44.1 kHz stereo WAV file to play underneath; "
                         "repeat for more, played in order.");
    return {
        QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                           QStringLiteral("The file to write."), QStringLiteral("OUT.") + name),
        QCommandLineOption(kMusic, music, QStringLiteral("FILE.") + name),
        QCommandLineOption(
            kPlayList,
            QStringLiteral("An ASX play list whose .%1 files play underneath, before any --music "
                           "files; other entries are passed over with a note.")
                .arg(name),
            QStringLiteral("LIST.asx")),
        QCommandLineOption(kOneFilePerSegment, QStringLiteral("Music file n plays under segment n alone.")),
        QCommandLineOption(kCues, QStringLiteral("Spoken cues (default: the stored option)."),
                           QStringLiteral("on|off")),
        QCommandLineOption(kBeeps, QStringLiteral("Tones per command (default: the stored option)."),
                           QStringLiteral("1|2")),
        QCommandLineOption(kUnits, QStringLiteral("Speak speeds in mph or km/h (default: the file's units)."),
                           QStringLiteral("miles|km")),
        QCommandLineOption(
            kChapters, QStringLiteral("A chapter mark at each segment (default: the stored preference).")),
        QCommandLineOption(kConvertMusic,
                           QStringLiteral("Music the check turns down (and any other audio file of the "
                                          "play list) plays as a compatible copy, converted once and kept "
                                          "in the cache folder."))};
}

int WorkoutFileArguments::apply(const CliArguments& args, RecordingPreferences& preferences, Units& units)
{
    if (args.isSet(kOneFilePerSegment))
        preferences.oneFilePerSegment = true;
    if (args.isSet(kChapters))
        preferences.chapters = true;
    const int cues = args.choice(kCues, {QStringLiteral("on"), QStringLiteral("off")});
    const int beeps = args.choice(kBeeps, {QStringLiteral("1"), QStringLiteral("2")});
    bool badUnits = false;
    const std::optional<Units> given = args.units(kUnits, badUnits);
    if (cues == CliArguments::kBadChoice || beeps == CliArguments::kBadChoice || badUnits)
        return kCliUsage;
    if (cues != CliArguments::kNotGiven)
        preferences.voiceCues = cues == 0;
    if (beeps != CliArguments::kNotGiven)
        preferences.beeps = beeps + 1;
    units = given.value_or(units);
    return kCliOk;
}

int WorkoutFileArguments::music(const CliArguments& args, CliContext& context, WorkoutFileType type,
                                std::vector<MusicEntry>& music, int bitRate)
{
    const bool convert = args.isSet(kConvertMusic);
    // The entries to convert, by their place in music, once the list is known.
    std::vector<std::pair<size_t, QString>> pending;
    const auto convertLater = [&](const QString& path) {
        pending.emplace_back(music.size(), path);
        music.emplace_back();
    };
    const QString note =
        QStringLiteral("kinetrova-cli ") + workoutFileTypeName(type) + QStringLiteral(": note: ");
    if (args.isSet(kPlayList)) {
        const QString list = args.value(kPlayList);
        const std::optional<QStringList> paths = AsxPlayList::read(list);
        if (!paths)
            return args.failure(QStringLiteral("cannot read the play list %1").arg(list));
        // A relative path in a play list is taken from the list's folder.
        const QDir folder = QFileInfo(list).absoluteDir();
        const QString suffix = QLatin1Char('.') + workoutFileTypeName(type);
        for (const QString& entry : *paths) {
            const QString path = QDir::cleanPath(folder.absoluteFilePath(entry));
            if (!entry.endsWith(suffix, Qt::CaseInsensitive)
                && !(convert && MusicConversion::isAudioFileName(entry))) {
                context.err << note << "passed over " << entry << ": not a " << suffix << " file\n";
                continue;
            }
            if (const QString reason = notARegularFile(QFileInfo(path)); !reason.isEmpty()) {
                context.err << note << "passed over " << entry << ": " << reason << '\n';
                continue;
            }
            const MusicCheckResult checked = checkMusicFor(type, path);
            if (convert && checked.verdict == MusicCheckResult::Verdict::Rejected) {
                convertLater(path);
                continue;
            }
            if (!checked.admitted()) {
                context.err << note << "passed over " << entry << ":\n" << asLines(checked.message) << '\n';
                continue;
            }
            music.push_back(checked.entry);
        }
    }
    for (const QString& path : args.values(kMusic)) {
        // Looked at before the check opens it: a FIFO would hold the build up for good.
        if (const QString reason = notARegularFile(QFileInfo(path)); !reason.isEmpty())
            return args.failure(QStringLiteral("cannot read %1: %2").arg(path, reason));
        const MusicCheckResult checked = checkMusicFor(type, path);
        if (checked.verdict == MusicCheckResult::Verdict::Unreadable)
            return args.failure(QStringLiteral("cannot read %1: %2").arg(path, checked.message));
        if (convert && !checked.admitted()) {
            convertLater(path);
            continue;
        }
        if (!checked.admitted())
            return args.failure(path + QStringLiteral(":\n") + asLines(checked.message));
        music.push_back(checked.entry);
    }
    return convertMusic(args, context, type, bitRate, pending, music);
}

QString WorkoutFileArguments::asLines(QString text)
{
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

int WorkoutFileArguments::build(const CliArguments& args, CliContext& context,
                                const WorkoutFileWriter& writer,
                                const std::function<int(RecordingPreferences&)>& ownOptions)
{
    const WorkoutFileType type = writer.type();
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(
            QStringLiteral("no output file given (-o OUT.%1)").arg(workoutFileTypeName(type)));
    // The file is renamed into place: only a regular file may be replaced.
    if (const QString reason = notARegularFile(QFileInfo(output)); !reason.isEmpty())
        return args.failure(QStringLiteral("cannot write %1: %2").arg(output, reason));

    CliWorkout workout(context);
    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    const Session& session = workout.session();

    // The stored preferences, then what the command line says.
    RecordingPreferences preferences = RecordingPreferences::read(workout.settings());
    Units units = session.machine.units();
    if (const int status = ownOptions(preferences); status != kCliOk)
        return status;
    if (const int status = apply(args, preferences, units); status != kCliOk)
        return status;
    std::vector<MusicEntry> musicList;
    if (const int status = music(args, context, type, musicList, preferences.mp3BitRate); status != kCliOk)
        return status;

    // The units the cues speak in, for this file only.
    Machine machine = session.machine;
    if (units != machine.units())
        SwitchUnits(machine, workout.settings(), units);
    const std::atomic_bool cancel = false;
    const WaveBuildResult result = writer.write({session.workout, machine, preferences, musicList, output,
                                                 QFileInfo(args.positional().first()).completeBaseName()},
                                                {}, cancel);
    if (result.outcome != WaveBuildResult::Outcome::Written)
        return args.failure(asLines(result.message));

    context.out << output << ": " << result.bytes << " bytes, ";
    if (type == WorkoutFileType::Mp3)
        context.out << (musicList.empty() ? preferences.mp3BitRate : musicList.front().bitRate) << " kbit/s";
    else
        context.out << (preferences.stereo || !musicList.empty() ? "stereo" : "mono");
    const int count = session.workout.count();
    context.out << ", " << count << (count == 1 ? " segment" : " segments");
    if (result.musicRanOut)
        context.out << "; the music ends before the workout does";
    context.out << '\n';
    return kCliOk;
}

} // namespace kntr
