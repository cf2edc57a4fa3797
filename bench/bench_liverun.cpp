// A live run heard through a private sound server: kinetrova-cli run plays a
// six-segment workout into a null sink while it is recorded, and every control
// tone's onset is printed against the schedule. Target: every onset within 20 ms.

#include "heardtones.h"
#include "nullsinkserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <cstdio>

using namespace kntr;

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
    cli.start(QStringLiteral(KINETROVA_CLI), {"run", workout, "--delay", "0", "--cues", "off", "--beeps", "1"});
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
        std::printf("  tone %zu: planned %5.1f s, off %+6.1f ms\n", k + 1, k == 0 ? 0.5 : 10.0 * double(k), offMs);
    }
    std::printf("live run tone onsets: worst %.1f ms off, spread %.1f ms (target: within 20 ms)\n", worst,
                (sorted.back() - sorted.front()) * 1000);
    std::printf("report: live run tone onsets off schedule | %.1f ms worst, %.1f ms spread | <= 20 ms\n", worst,
                (sorted.back() - sorted.front()) * 1000);
    // The recorder's clock against the system's: a sound server whose sample
    // clock runs apart from the system clock moves every onset by itself.
    std::printf("recorded %.3f s of sound in %.3f s of system time (%+.2f ms per minute)\n", recordedSeconds,
                wallSeconds, (recordedSeconds - wallSeconds) / wallSeconds * 60000);
    return 0;
}
