// How long a 60-minute stereo workout WAV file with music takes to build, next to
// a plain sequential write of the same number of bytes to the same folder, and
// the most memory the process held. Usage: bench_wavbuild [folder]

#include "hourworkout.h"
#include "platform/wavimage.h"
#include "builder/wavefilebuilder.h"
#include "builder/wavmusiccheck.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/apppaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 kBlock = 1 << 20;

// A 16-bit 44.1 kHz stereo WAV file of the given length, written a block at a time.
bool writeMusic(const QString& path, qint64 seconds, int seed)
{
    const qint64 bytes = seconds * 176400;
    const QByteArray header = kntr::WavImage::header(2, 44100, static_cast<quint32>(bytes));

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(header) != 44)
        return false;
    QByteArray block(kBlock, '\0');
    for (qint64 i = 0; i < kBlock / 2; ++i)
        qToLittleEndian<qint16>(static_cast<qint16>((i * 37 + seed * 1000) % 20000 - 10000),
                                block.data() + 2 * i);
    for (qint64 done = 0; done < bytes; done += kBlock) {
        const qint64 n = std::min(kBlock, bytes - done);
        if (file.write(block.constData(), n) != n)
            return false;
    }
    return true;
}

double plainWrite(const QString& path, qint64 bytes, bool sync)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    const QByteArray block(kBlock, '\x5A');
    for (qint64 done = 0; done < bytes; done += kBlock)
        file.write(block.constData(), std::min(kBlock, bytes - done));
    file.flush();
    if (sync)
        fsync(file.handle());
    file.close();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir temp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    if (!temp.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const kntr::Machine machine = kntr::bench::treadmill();
    const kntr::Workout workout = kntr::bench::hourWorkout();

    std::vector<kntr::MusicEntry> music;
    for (int i = 0; i < 2; ++i) {
        const QString path = temp.filePath(QStringLiteral("music%1.wav").arg(i));
        if (!writeMusic(path, 30 * 60, i)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        music.push_back(kntr::WavMusicCheck::check(path).entry);
    }
    const long rssBefore = kntr::bench::peakRssKb();

    kntr::WaveBuildOptions options; // stereo, cues on, one beep
    const kntr::WaveFileBuilder builder(workout, machine, options, music,
                                        kntr::AppPaths::fromEnvironment().voiceCueDir());
    const QString out = temp.filePath(QStringLiteral("workout.wav"));
    const QString plainPath = temp.filePath(QStringLiteral("plain.bin"));

    // The first writes of a run land on memory the system has not handed out
    // before, which costs far more than the writes themselves on a virtual
    // machine; each figure is the best of a few rounds, builds and plain writes
    // taking turns.
    constexpr int kRounds = 5;
    double build = 1e9, plain = 1e9, synced = 1e9;
    qint64 bytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        ::sync();
        QElapsedTimer timer;
        timer.start();
        const kntr::WaveBuildResult result = builder.build(out);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (result.outcome != kntr::WaveBuildResult::Outcome::Written) {
            std::fprintf(stderr, "build failed: %s\n", qPrintable(result.message));
            return 1;
        }
        bytes = QFileInfo(out).size();
        QFile::remove(out);
        ::sync();
        const double p = plainWrite(plainPath, bytes, false);
        QFile::remove(plainPath);
        ::sync();
        const double ps = plainWrite(plainPath, bytes, true);
        QFile::remove(plainPath);
        std::printf("round %d: build %.3f s, plain write %.3f s, plain write + fsync %.3f s\n", round + 1,
                    seconds, p, ps);
        build = std::min(build, seconds);
        plain = std::min(plain, p);
        synced = std::min(synced, ps);
    }

    std::printf("workout file         %lld bytes (60 min stereo, 30 segments, cues, 2 music files)\n",
                static_cast<long long>(bytes));
    std::printf("build                %7.3f s  (to a temporary file, synced, renamed)\n", build);
    std::printf("plain write          %7.3f s  build / plain %.2f\n", plain, build / plain);
    std::printf("plain write + fsync  %7.3f s  build / plain %.2f\n", synced, build / synced);
    std::printf("peak RSS             %7.1f MB (%.1f MB before the first build)\n",
                kntr::bench::peakRssKb() / 1024.0, rssBefore / 1024.0);
    std::printf("report: WAV build / plain write | %.2f (%.2f with fsync) | <= 1.5\n", build / plain,
                build / synced);
    std::printf("report: WAV build peak RSS | %.1f MB | < 64 MB\n", kntr::bench::peakRssKb() / 1024.0);
    return 0;
}
