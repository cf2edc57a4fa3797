// How long a 60-minute MP3 workout file with two 30-minute 128 kbit/s music
// files takes to build, the first time (nothing kept of earlier builds) and
// again (the encoded tones and cues kept), next to encoding the same hour of
// audio with the lame encoder and next to a plain cp of the music files, with
// and without a sync after it, and the most memory the process held. The music is made once with the lame
// command-line encoder from generated samples. Usage: bench_mp3build [folder]

#include "hourworkout.h"
#include "platform/wavimage.h"
#include "builder/mp3filebuilder.h"
#include "builder/mp3layout.h"
#include "builder/mp3musiccheck.h"
#include "model/machine.h"
#include "model/workout.h"
#include "platform/apppaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 kSampleRate = 44100;
constexpr qint64 kMusicSeconds = 30 * 60;

QByteArray wavHeader(qint64 bytes)
{
    return kntr::WavImage::header(2, kSampleRate, static_cast<quint32>(bytes));
}

// Appends seconds of two gliding tones and a little noise, so the encoder has real work.
bool appendSamples(QFile& file, qint64 seconds, int seed)
{
    QByteArray block(4 * kSampleRate, Qt::Uninitialized);
    double a = 0, b = 0;
    quint32 noise = 12345u + static_cast<quint32>(seed);
    for (qint64 s = 0; s < seconds; ++s) {
        const double fa = 220.0 + 110.0 * std::sin((s + seed * 17) * 0.05);
        const double fb = 330.0 + 90.0 * std::cos((s + seed * 5) * 0.03);
        for (qint64 i = 0; i < kSampleRate; ++i) {
            a += 2 * M_PI * fa / kSampleRate;
            b += 2 * M_PI * fb / kSampleRate;
            noise = noise * 1664525u + 1013904223u;
            const double n = static_cast<double>(noise >> 20) - 2048.0;
            qToLittleEndian<qint16>(static_cast<qint16>(7000 * std::sin(a) + n), block.data() + 4 * i);
            qToLittleEndian<qint16>(static_cast<qint16>(6000 * std::sin(b) - n), block.data() + 4 * i + 2);
        }
        if (file.write(block) != block.size())
            return false;
    }
    return true;
}

// Runs a program to its end; the seconds it took, or -1 when it failed.
double timed(const QString& program, const QStringList& args)
{
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, args);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return -1;
    return timer.nsecsElapsed() / 1e9;
}

// Processor seconds (user + system) of this process, or of its finished children.
double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
    if (lame.isEmpty()) {
        std::printf("bench_mp3build: skipped, the lame encoder is not installed (Debian package lame)\n");
        return 0;
    }
    QTemporaryDir temp(argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/bench-XXXXXX")
                                : QDir::tempPath() + QStringLiteral("/bench-XXXXXX"));
    if (!temp.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }

    // The hour of samples as one WAV file; its halves become the two music files.
    std::printf("making 60 minutes of samples and two 30-minute MP3 files with %s ...\n", qPrintable(lame));
    std::fflush(stdout);
    const QString hour = temp.filePath(QStringLiteral("hour.wav"));
    QStringList halves;
    {
        QFile all(hour);
        if (!all.open(QIODevice::WriteOnly) || all.write(wavHeader(2 * kMusicSeconds * 176400)) != 44)
            return 1;
        for (int i = 0; i < 2; ++i) {
            halves << temp.filePath(QStringLiteral("music%1.wav").arg(i));
            QFile half(halves.back());
            if (!half.open(QIODevice::WriteOnly) || half.write(wavHeader(kMusicSeconds * 176400)) != 44
                || !appendSamples(half, kMusicSeconds, i))
                return 1;
            half.close();
            if (!half.open(QIODevice::ReadOnly) || !half.seek(44))
                return 1;
            while (!half.atEnd())
                all.write(half.read(1 << 20));
        }
    }
    std::vector<kntr::MusicEntry> music;
    QStringList mp3s;
    for (int i = 0; i < 2; ++i) {
        mp3s << temp.filePath(QStringLiteral("music%1.mp3").arg(i));
        // Constant 128 kbit/s at 44.1 kHz, not marked original, no Xing frame, no tags.
        if (timed(lame,
                  {"--quiet", "-b", "128", "--cbr", "--resample", "44.1", "-o", "-t", halves[i], mp3s[i]})
            < 0)
            return 1;
        QFile::remove(halves[i]);
        const kntr::MusicCheckResult checked = kntr::Mp3MusicCheck::check(mp3s[i]);
        if (!checked.admitted()) {
            std::fprintf(stderr, "%s not admitted: %s\n", qPrintable(mp3s[i]), qPrintable(checked.message));
            return 1;
        }
        music.push_back(checked.entry);
    }

    // Re-encoding the hour, as a build that decoded and encoded everything would.
    const double reencode =
        timed(lame, {"--quiet", "-b", "128", "--cbr", "--resample", "44.1", hour, temp.filePath("hour.mp3")});
    QFile::remove(hour);
    QFile::remove(temp.filePath("hour.mp3"));
    if (reencode < 0)
        return 1;

    const kntr::Machine machine = kntr::bench::treadmill();
    const kntr::Workout workout = kntr::bench::hourWorkout();
    const long rssBefore = kntr::bench::peakRssKb();

    kntr::Mp3BuildOptions options; // cues on, one beep
    const QString voiceCues = kntr::AppPaths::fromEnvironment().voiceCueDir();
    const kntr::Mp3FileBuilder builder(workout, machine, options, music, voiceCues);
    // The same build keeping its encoded pieces in a folder of its own.
    kntr::Mp3BuildOptions cached = options;
    cached.pieceCacheDir = temp.filePath(QStringLiteral("pieces"));
    const kntr::Mp3FileBuilder cachedBuilder(workout, machine, cached, music, voiceCues);
    const QString out = temp.filePath(QStringLiteral("workout.mp3"));
    const QString copies = temp.filePath(QStringLiteral("copies"));
    QDir().mkpath(copies);

    // Each figure is the best of a few rounds, builds and copies taking turns.
    constexpr int kRounds = 5;
    // Wall-clock figures suffer when other programs share the processors; the
    // processor seconds beside them do not.
    double build = 1e9, plan = 1e9, copy = 1e9, synced = 1e9, first = 1e9, again = 1e9;
    double buildCpu = 1e9, planCpu = 1e9, copyCpu = 1e9;
    qint64 bytes = 0;
    // Builds to out; the seconds it took, or -1 when it failed.
    const auto timedBuild = [&](const kntr::Mp3FileBuilder& b) {
        ::sync();
        QElapsedTimer timer;
        timer.start();
        const kntr::WaveBuildResult result = b.build(out);
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (result.outcome != kntr::WaveBuildResult::Outcome::Written) {
            std::fprintf(stderr, "build failed: %s\n", qPrintable(result.message));
            return -1.0;
        }
        QFile::remove(out);
        return seconds;
    };
    for (int round = 0; round < kRounds; ++round) {
        ::sync();
        QElapsedTimer timer;
        timer.start();
        double cpu = cpuSeconds(RUSAGE_SELF);
        // The encoding of the tones and cues alone, as the build does it first.
        if (!kntr::Mp3Layout::plan(workout, machine, options, music,
                                   kntr::AppPaths::fromEnvironment().voiceCueDir())
                 .ok())
            return 1;
        plan = std::min(plan, timer.nsecsElapsed() / 1e9);
        planCpu = std::min(planCpu, cpuSeconds(RUSAGE_SELF) - cpu);
        ::sync();
        timer.start();
        cpu = cpuSeconds(RUSAGE_SELF);
        const kntr::WaveBuildResult result = builder.build(out);
        const double seconds = timer.nsecsElapsed() / 1e9;
        buildCpu = std::min(buildCpu, cpuSeconds(RUSAGE_SELF) - cpu);
        if (result.outcome != kntr::WaveBuildResult::Outcome::Written) {
            std::fprintf(stderr, "build failed: %s\n", qPrintable(result.message));
            return 1;
        }
        bytes = QFileInfo(out).size();
        QFile::remove(out);
        // The first build with an empty cache folder, then a rebuild that finds every piece.
        QDir(cached.pieceCacheDir).removeRecursively();
        const double f = timedBuild(cachedBuilder);
        const double a = timedBuild(cachedBuilder);
        if (f < 0 || a < 0)
            return 1;
        first = std::min(first, f);
        again = std::min(again, a);
        ::sync();
        const auto cp = [&](bool sync) {
            timer.start();
            if (timed(QStringLiteral("cp"), mp3s + QStringList{copies}) < 0
                || (sync && timed("sync", {}) < 0))
                return -1.0;
            const double s = timer.nsecsElapsed() / 1e9;
            for (const QString& name : QDir(copies).entryList(QDir::Files))
                QFile::remove(QDir(copies).filePath(name));
            ::sync();
            return s;
        };
        const double childCpu = cpuSeconds(RUSAGE_CHILDREN);
        const double c = cp(false);
        copyCpu = std::min(copyCpu, cpuSeconds(RUSAGE_CHILDREN) - childCpu);
        const double cs = cp(true);
        std::printf(
            "round %d: build %.3f s, first build %.3f s, rebuild %.3f s, cp %.3f s, cp + sync %.3f s\n",
            round + 1, seconds, f, a, c, cs);
        build = std::min(build, seconds);
        copy = std::min(copy, c);
        synced = std::min(synced, cs);
    }

    const qint64 musicBytes = QFileInfo(mp3s[0]).size() + QFileInfo(mp3s[1]).size();
    std::printf("workout file        %lld bytes (60 min, 30 segments, cues, 2 music files of %lld bytes)\n",
                static_cast<long long>(bytes), static_cast<long long>(musicBytes));
    std::printf("build               %7.3f s  (to a temporary file, synced, renamed), processor %.3f s\n",
                build, buildCpu);
    std::printf("encoding alone      %7.3f s  (the tones and cues, written side by side with the music "
                "in a build), processor %.3f s\n",
                plan, planCpu);
    std::printf("lame -b 128 of the hour %7.3f s  re-encode / build %.0f x (target >= 50 x)\n", reencode,
                reencode / build);
    std::printf("cp of the music     %7.3f s  build / cp %.2f (target <= 2), processor %.3f s\n", copy,
                build / copy, copyCpu);
    std::printf("build processor less encoding / cp processor %.2f\n",
                (buildCpu - planCpu) / std::max(copyCpu, 1e-3));
    std::printf("cp + sync           %7.3f s  build / (cp + sync) %.2f\n", synced, build / synced);
    std::printf(
        "first build         %7.3f s  (pieces kept in an empty folder) / (cp + sync) %.2f (target <= 3)\n",
        first, first / synced);
    std::printf("rebuild             %7.3f s  (every piece kept) / (cp + sync) %.2f (target <= 2)\n", again,
                again / synced);
    std::printf("peak RSS            %7.1f MB (%.1f MB before the first build; target < 64 MB)\n",
                kntr::bench::peakRssKb() / 1024.0, rssBefore / 1024.0);
    std::printf("report: MP3 build vs lame re-encode | %.0f x faster | >= 50 x\n", reencode / build);
    std::printf("report: MP3 build / cp of the music | %.2f | <= 2\n", build / copy);
    std::printf("report: MP3 first build / (cp + sync) of the music | %.2f | <= 3\n", first / synced);
    std::printf("report: MP3 rebuild / (cp + sync) of the music | %.2f | <= 2\n", again / synced);
    std::printf("report: MP3 build peak RSS | %.1f MB | < 64 MB\n", kntr::bench::peakRssKb() / 1024.0);
    return 0;
}
