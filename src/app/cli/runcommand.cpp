#include "runcommand.h"

#include "cliworkout.h"
#include "terminalrunview.h"

#include "model/runoptions.h"
#include "model/storedsettings.h"
#include "model/session.h"
#include "model/targettexts.h"
#include "platform/apppaths.h"
#include "platform/systemclock.h"
#include "runner/runengine.h"
#include "runner/runmusic.h"
#include "climessages.h"
#include "sounddevices.h"

#include <QFileInfo>
#include <QMediaDevices>
#include <QAudioDevice>
#include <QEventLoop>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kntr {

namespace {

const QCommandLineOption kFrom(QStringLiteral("from"),
                               QStringLiteral("Start at this segment (as Resume does)."),
                               QStringLiteral("SEGMENT"));
const QCommandLineOption kDelay(QStringLiteral("delay"), QStringLiteral("Countdown seconds: 0, 5, 10 or 20."),
                                QStringLiteral("SECONDS"));
const QCommandLineOption kBeeps(QStringLiteral("beeps"), QStringLiteral("Tones per command: 1 or 2."),
                                QStringLiteral("N"));
const QCommandLineOption kCues(QStringLiteral("cues"), QStringLiteral("Spoken cues: on or off."),
                               QStringLiteral("on|off"));
const QCommandLineOption kMusic(QStringLiteral("music"),
                                QStringLiteral("Music during the run: none, cd, or a play list (.asx)."),
                                QStringLiteral("SOURCE"));
const QCommandLineOption kCdDevice(QStringLiteral("cd-device"),
                                   QStringLiteral("The CD drive or BIN/CUE image (.cue) of --music cd."),
                                   QStringLiteral("PATH"));
const QCommandLineOption kUnits(QStringLiteral("units"),
                                QStringLiteral("Targets shown and spoken in miles or km."),
                                QStringLiteral("miles|km"));

/// Ctrl-C and SIGTERM reach the run through a pipe the event loop watches.
int gSignalPipe[2] = {-1, -1};
volatile std::sig_atomic_t gSignal = 0;

void onSignal(int signal)
{
    gSignal = signal;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gSignalPipe[1], &byte, 1);
}

/// Stops the run on Ctrl-C or SIGTERM while it lives; the handlers go with it.
class StopOnSignals {
public:
    explicit StopOnSignals(RunEngine& engine)
    {
        if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        mNotifier = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
        QObject::connect(mNotifier.get(), &QSocketNotifier::activated, [&engine] {
            char buffer[16];
            while (::read(gSignalPipe[0], buffer, sizeof buffer) > 0) { }
            engine.requestStop();
        });
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &mOldInt);
        ::sigaction(SIGTERM, &action, &mOldTerm);
    }
    ~StopOnSignals()
    {
        ::sigaction(SIGINT, &mOldInt, nullptr);
        ::sigaction(SIGTERM, &mOldTerm, nullptr);
        mNotifier.reset();
        for (int& fd : gSignalPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }

private:
    std::unique_ptr<QSocketNotifier> mNotifier;
    struct sigaction mOldInt = {};
    struct sigaction mOldTerm = {};
};

int run(const CliArguments& args, CliContext& context)
{
    CliWorkout workout(context);
    SettingsStore& settings = workout.settings();
    RunOptions options(settings);
    options.load();

    const int delay = args.choice(kDelay.names().first(), {"0", "5", "10", "20"});
    const int beeps = args.choice(kBeeps.names().first(), {"1", "2"});
    const int cues = args.choice(kCues.names().first(), {"on", "off"});
    const int unit = args.choice(kUnits.names().first(), {"miles", "km"});
    for (const int given : {delay, beeps, cues, unit}) {
        if (given == CliArguments::kBadChoice)
            return kCliUsage;
    }
    if (delay != CliArguments::kNotGiven)
        options.setDelaySeconds(RunOptions::kDelayChoices[delay]);
    if (beeps != CliArguments::kNotGiven)
        options.setBeeps(beeps + 1);
    if (cues != CliArguments::kNotGiven)
        options.setVoiceCues(cues == 0);
    std::optional<Units> units;
    if (unit != CliArguments::kNotGiven)
        units = unit == 1 ? Units::Kilometres : Units::Miles;
    int music = 0;
    QString playList;
    if (args.isSet(kMusic)) {
        const QString m = args.value(kMusic);
        if (m.compare(QLatin1String("none"), Qt::CaseInsensitive) == 0)
            music = RunMusic::kNone;
        else if (m.compare(QLatin1String("cd"), Qt::CaseInsensitive) == 0)
            music = RunMusic::kCd;
        else if (m.endsWith(QLatin1String(".asx"), Qt::CaseInsensitive))
            music = RunMusic::kPlayList, playList = QFileInfo(m).absoluteFilePath();
        else
            return args.usageError(QStringLiteral("--music takes none, cd or a play list file (.asx)"));
    }

    if (!workout.open(args.positional().first()))
        return args.failure(workout.problem());
    Session& session = workout.session();
    int from = 1;
    if (args.isSet(kFrom)) {
        bool ok = false;
        from = args.value(kFrom).toInt(&ok);
        if (!ok || from < 1 || from > session.workout.count())
            return args.usageError(
                QStringLiteral("--from takes a segment number from 1 to %1").arg(session.workout.count()));
    }

    if (QMediaDevices::defaultAudioOutput().isNull())
        return args.failure(QStringLiteral("no sound output was found: the workout cannot be run"));

    // The units only change what is shown and spoken; they are not stored, and
    // no value sent to the machine depends on them.
    if (units)
        session.machine.setDisplayUnits(*units == Units::Kilometres ? QStringLiteral("Kilos")
                                                                    : QStringLiteral("Miles"));

    SystemClock clock;
    CliMessages messages(context.err);
    SoundDevices sounds(clock, settings, context.paths, session.machine, messages,
                        args.isSet(kCdDevice) ? QFileInfo(args.value(kCdDevice)).absoluteFilePath()
                                              : QString());
    RunMusic runMusic(settings, sounds.cd(), sounds.mci(), sounds.mediaPlayer(), sounds.levels(), clock);
    if (music == RunMusic::kPlayList)
        AudioSettings(settings).setPlayList(playList);
    runMusic.SetAudioType(music ? music
                                : AudioSettings(settings).musicSourceText(QStringLiteral("1")).toInt());

    const Machine& machine = session.machine;
    TerminalRunView view(context.out, context.err, ::isatty(STDOUT_FILENO) == 1, session.workout.count(),
                         speedCaption(machine, speedDisplay(machine, settings)), machine.AttTwoDesignLabel());
    RunEngine engine(session, settings, options, clock,
                     {sounds.tones(), sounds.runPlayer(), sounds.cues(), runMusic, sounds.levels()}, messages,
                     view);
    sounds.setMusicFailureHandler([&engine](const QString& what) { engine.musicFailed(what); });

    gSignal = 0;
    {
        StopOnSignals stopOnSignals(engine);
        QEventLoop loop;
        view.setEndHandler([&loop](RunOutcome) { loop.quit(); });
        const bool started = args.isSet(kFrom) ? engine.resume(from) : engine.start();
        if (started && engine.isRunning())
            loop.exec();
        view.setEndHandler({});
    }
    sounds.setMusicFailureHandler({});
    sounds.release();
    switch (engine.outcome()) {
    case RunEngine::Outcome::Completed:
        return kCliOk;
    case RunEngine::Outcome::NotStarted:
        return args.failure(messages.last().isEmpty() ? QStringLiteral("the run could not start")
                                                      : messages.last());
    case RunEngine::Outcome::OutputLost:
        return kCliFailed; // the view has said why
    default:
        break;
    }
    if (gSignal == SIGINT)
        return 130;
    if (gSignal == SIGTERM)
        return 143;
    return kCliFailed;
}

} // namespace

CliCommand runCommand()
{
    return {
        QStringLiteral("run"),
        QStringLiteral("WORKOUT.txt [--from SEGMENT] [--delay 0|5|10|20] [--beeps 1|2] [--cues on|off] "
                       "[--music none|cd|PLAYLIST.asx] [--cd-device PATH] [--units miles|km]"),
        QStringLiteral("Run a workout live through the sound card; Ctrl-C stops it with the stop command."),
        {kFrom, kDelay, kBeeps, kCues, kMusic, kCdDevice, kUnits},
        1,
        1,
        run};
}

} // namespace kntr
