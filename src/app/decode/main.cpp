// kinetrova-decode: decodes one outside audio file through the media backend for
// Kinetrova, as mono 44.1 kHz samples on stdout (see platform/decodeprocess.h),
// under limits of memory and CPU time. A file that crashes, hangs or blows up
// the decoder ends this process, never Kinetrova.

#include "platform/decodeprocess.h"
#include "platform/helperprogram.h"
#include "platform/monoaudioreader.h"
#include "platform/musicentrycheck.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <malloc.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <new>

namespace {

using kntr::DecodeProcess;

// Sanitizer builds reserve terabytes of address space for their shadow memory.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kLimitAddressSpace = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kLimitAddressSpace = false;
#else
constexpr bool kLimitAddressSpace = true;
#endif
#else
constexpr bool kLimitAddressSpace = true;
#endif

void put(char kind, const char* data, qint64 size)
{
    kntr::writeToParentOrExit(DecodeProcess::record(kind, data, size));
}

[[noreturn]] void fail(const QString& reason)
{
    const QByteArray text = reason.toUtf8();
    put('e', text.constData(), text.size());
    ::_exit(1);
}

void outOfTime(int)
{
    ::_exit(DecodeProcess::kOutOfTime);
}

void outOfMemory()
{
    ::_exit(DecodeProcess::kOutOfMemory);
}

/// The limits this process decodes under: cpuSeconds of CPU (then SIGXCPU, then
/// SIGKILL), kMemoryBytes of address space, and no core file.
void limit(rlim_t cpuSeconds)
{
    const rlimit cpu{cpuSeconds, cpuSeconds + 2};
    ::setrlimit(RLIMIT_CPU, &cpu);
    ::signal(SIGXCPU, &outOfTime);
    const rlimit core{0, 0};
    ::setrlimit(RLIMIT_CORE, &core);
    if (kLimitAddressSpace) {
        // Every thread's malloc arena reserves 64 MB of address space: a few are plenty.
        ::mallopt(M_ARENA_MAX, 2);
        const rlimit memory{DecodeProcess::kMemoryBytes, DecodeProcess::kMemoryBytes};
        ::setrlimit(RLIMIT_AS, &memory);
    }
    std::set_new_handler(&outOfMemory);
}

} // namespace

int main(int argc, char* argv[])
{
    // A helper whose reader is gone has nobody to decode for.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The decoder of live runs and of Kinetrova's own checks, unless the user chose another.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kinetrova-decode"));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Decodes an audio file for Kinetrova; the samples go to stdout."));
    const QCommandLineOption cpuSeconds(QStringLiteral("cpu-seconds"), QStringLiteral("CPU time allowed."),
                                        QStringLiteral("seconds"),
                                        QString::number(DecodeProcess::kCpuSecondsBase));
    parser.addOption(cpuSeconds);
    const QCommandLineOption channels(QStringLiteral("channels"),
                                      QStringLiteral("1: mono samples; 2: left/right pairs."),
                                      QStringLiteral("count"), QStringLiteral("1"));
    parser.addOption(channels);
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The audio file to decode."));
    parser.addHelpOption();
    parser.process(app);
    bool ok = false;
    const uint seconds = parser.value(cpuSeconds).toUInt(&ok);
    const QString channelCount = parser.value(channels);
    if (!ok || seconds == 0 || parser.positionalArguments().size() != 1
        || (channelCount != QLatin1String("1") && channelCount != QLatin1String("2")))
        parser.showHelp(2);
    limit(seconds);

    const QString path = parser.positionalArguments().first();
    // The decoder never sees a file that our own check turns down, even one put
    // in place of the file the caller looked at.
    if (const std::optional<QString> problem = kntr::MusicEntryCheck::problem(path))
        fail(*problem);
    int lastPercent = -1;
    QString error;
    const bool read = kntr::MonoAudioReader::decodeHere(
        path,
        [](const float* samples, qsizetype count) {
            put('a', reinterpret_cast<const char*>(samples), count * qint64(sizeof(float)));
            return true;
        },
        &error,
        [&lastPercent](int percent) {
            if (percent == lastPercent)
                return;
            lastPercent = percent;
            const char byte = static_cast<char>(percent);
            put('p', &byte, 1);
        },
        channelCount.toInt());
    if (!read)
        fail(error.isEmpty() ? QStringLiteral("the decoder cannot read it") : error);
    put('d', nullptr, 0);
    // Qt Multimedia's teardown is no use to a process that ends here.
    ::_exit(0);
}
