// A live run heard through a private sound server: kinetrova-cli run plays a
// six-segment workout into a null sink while it is recorded, and every control
// tone's onset is printed against the schedule. Target: every onset within 20 ms.
// Then runs stopped by Ctrl-C at moments across the engine's states (countdown,
// spoken cue, tone pause, tone, spoken targets, segment wait): the time from the
// request to the stop command heard. Target: within one second in every state.

#include "heardtones.h"
#include "nullsinkserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>

using namespace kntr;

namespace {

/// Where the stop command begins: it is the last sound of a stopped run, so it
/// ends at the recording's last loud sample and is as long as its bursts.
double stopCommandStart(const std::vector<qint16>& stereo, qint64 fromFrame, int commandSymbols)
{
    for (qint64 i = qint64(stereo.size() / 2) - 1; i >= fromFrame; --i)
        if (std::abs(stereo[2 * i]) > test::kLoud)
            return double(i + 1 - qint64(commandSymbols) * test::kSymbol);
    return -1;
}

/// Stops a run by Ctrl-C afterMs into it; the seconds from the request to the
/// stop command heard, or a negative number when none was heard.
double stopLatency(test::NullSinkServer& server, const QString& workout, const QStringList& options,
                   int afterMs, int commandSymbols)
{
    QProcess cli;
    cli.start(QStringLiteral(KINETROVA_CLI), QStringList{"run", workout} + options);
    if (!cli.waitForStarted(5000))
        return -1;
    QThread::msleep(static_cast<unsigned long>(afterMs));
    const qint64 requestFrame = server.recordedFrames();
    ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
    if (!cli.waitForFinished(10000) || cli.exitCode() != 130)
        return -1;
    QThread::msleep(300);
    const double start = stopCommandStart(server.recording(), requestFrame, commandSymbols);
    return start < 0 ? -1 : (start - double(requestFrame)) / ControlTones::kSampleRate;
}

} // namespace

int main()
{
    test::NullSinkServer server;
    QString why;
    if (!server.start(why)) {
        std::printf("bench_liverun: skipped (%s)\n", qPrintable(why));
        return 0;
    }
    QTemporaryDir dir;
    const QString workout = dir.filePath("six.txt");
    QFile f(workout);
    if (!f.open(QIODevice::WriteOnly))
        return 1;
    f.write("Vexa v 1.2                \r\n\r\n[segment settings]\r\n"
            "1\t3\t1\t10\r\n2\t4\t2\t10\r\n3\t5\t3\t10\r\n4\t6\t4\t10\r\n5\t5\t3\t10\r\n6\t4\t2\t10\r\n"
            "\r\n[playlist]\r\n\r\n\r\n\r\n");
    f.close();

    const qint64 framesBefore = server.recordedFrames();
    QElapsedTimer wall;
    wall.start();
    QProcess cli;
    cli.start(QStringLiteral(KINETROVA_CLI),
              {"run", workout, "--delay", "0", "--cues", "off", "--beeps", "1"});
    if (!cli.waitForFinished(120000) || cli.exitCode() != 0) {
        std::printf("bench_liverun: the run failed: %s\n", cli.readAllStandardError().constData());
        return 1;
    }
    const double wallSeconds = wall.elapsed() / 1000.0;
    const double recordedSeconds = double(server.recordedFrames() - framesBefore) / ControlTones::kSampleRate;
    QThread::msleep(300);

    const auto tones = test::heardTones(server.recording());
    if (tones.size() != 7) {
        std::printf("bench_liverun: %zu tones heard, 7 expected\n", tones.size());
        return 1;
    }
    // With no cues and no countdown, tone 1 comes half a second after the start
    // and tone k (k > 1) at 10 × (k − 1) seconds. The recording's own start is
    // not the run's, so each onset is set against the schedule shifted by the
    // median offset; the spread is what the ear next to the machine notices.
    std::vector<double> offsets;
    for (size_t k = 0; k < tones.size(); ++k) {
        const double heard = double(tones[k].start) / ControlTones::kSampleRate;
        const double planned = k == 0 ? 0.5 : 10.0 * double(k);
        offsets.push_back(heard - planned);
    }
    std::vector<double> sorted = offsets;
    std::sort(sorted.begin(), sorted.end());
    const double median = sorted[sorted.size() / 2];
    std::printf("live run, tone onsets against the schedule:\n");
    double worst = 0;
    for (size_t k = 0; k < offsets.size(); ++k) {
        const double offMs = (offsets[k] - median) * 1000;
        worst = std::max(worst, std::abs(offMs));
        std::printf("  tone %zu: planned %5.1f s, off %+6.1f ms\n", k + 1, k == 0 ? 0.5 : 10.0 * double(k),
                    offMs);
    }
    std::printf("live run tone onsets: worst %.1f ms off, spread %.1f ms (target: within 20 ms)\n", worst,
                (sorted.back() - sorted.front()) * 1000);
    std::printf("report: live run tone onsets off schedule | %.1f ms worst, %.1f ms spread | <= 20 ms\n",
                worst, (sorted.back() - sorted.front()) * 1000);
    // The recorder's clock against the system's: a sound server whose sample
    // clock runs apart from the system clock moves every onset by itself.
    std::printf("recorded %.3f s of sound in %.3f s of system time (%+.2f ms per minute)\n", recordedSeconds,
                wallSeconds, (recordedSeconds - wallSeconds) / wallSeconds * 60000);

    // The stop command's length in bursts, from a run of the command alone.
    const qint64 toneFrom = server.recordedFrames();
    QProcess tone;
    tone.start(QStringLiteral(KINETROVA_CLI), {"tone", "252", "252", "--play"});
    tone.waitForFinished(10000);
    QThread::msleep(300);
    std::vector<qint16> heard = server.recording();
    heard.erase(heard.begin(), heard.begin() + std::min<qint64>(toneFrom * 2, qint64(heard.size())));
    const auto alone = test::heardTones(heard);
    if (alone.size() != 1) {
        std::printf("bench_liverun: the stop command alone was heard as %zu tones\n", alone.size());
        return 1;
    }
    const int commandSymbols = int(alone.front().symbols.size());

    const struct {
        const char* state;
        QStringList options;
        int afterMs;
    } stops[] = {
        {"countdown", {"--delay", "5", "--cues", "off"}, 2000},
        {"spoken cue", {"--delay", "0", "--cues", "on"}, 400},
        {"tone pause", {"--delay", "0", "--cues", "off"}, 250},
        {"control tone", {"--delay", "0", "--cues", "off", "--beeps", "2"}, 600},
        {"spoken targets", {"--delay", "0", "--cues", "on"}, 2600},
        {"segment wait", {"--delay", "0", "--cues", "off"}, 5000},
    };
    std::printf("stop request to stop command heard:\n");
    double worstStop = 0;
    for (const auto& stop : stops) {
        const double latency = stopLatency(server, workout, stop.options, stop.afterMs, commandSymbols);
        if (latency < 0) {
            std::printf("bench_liverun: no stop command heard after a stop in the %s\n", stop.state);
            return 1;
        }
        worstStop = std::max(worstStop, latency);
        std::printf("  %-15s %6.0f ms\n", stop.state, latency * 1000);
    }
    std::printf("report: stop request -> stop command (worst state) | %.0f ms | <= 1000 ms\n",
                worstStop * 1000);
    return 0;
}
