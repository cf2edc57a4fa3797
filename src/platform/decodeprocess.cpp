#include "decodeprocess.h"

#include "helperprogram.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

namespace kntr {

namespace {

// Why a decoding helper failed, for whoever looks into it (QT_LOGGING_RULES=
// "kinetrova.decode.debug=true"); the caller is given the short reason.
Q_LOGGING_CATEGORY(lcDecode, "kinetrova.decode")

constexpr int kStartMs = 10000;
constexpr int kPollMs = 100;
constexpr int kHeadBytes = 5;

} // namespace

DecodeProcess::DecodeProcess(QString program)
    : mProgram(std::move(program))
{
}

int DecodeProcess::cpuSeconds(qint64 fileBytes)
{
    const qint64 minutes = (std::max<qint64>(fileBytes, 0) + kLeastBytesPerMinute - 1) / kLeastBytesPerMinute;
    return static_cast<int>(std::min<qint64>(kCpuSecondsBase + kCpuSecondsPerMinute * minutes, 1 << 24));
}

QByteArray DecodeProcess::record(char kind, const char* data, qint64 size)
{
    QByteArray out(kHeadBytes, Qt::Uninitialized);
    out[0] = kind;
    qToLittleEndian<quint32>(static_cast<quint32>(size), out.data() + 1);
    if (size > 0)
        out.append(data, size);
    return out;
}

bool DecodeProcess::read(const QString& path, const MonoAudioReader::Sink& sink, QString* error,
                         const MonoAudioReader::Progress& progress) const
{
    const auto fail = [error](const QString& reason) {
        if (error)
            *error = reason;
        return false;
    };
    const QString program = mProgram.isEmpty() ? helperProgram(QStringLiteral("kinetrova-decode")) : mProgram;
    QProcess helper;
    helper.setStandardInputFile(QProcess::nullDevice());
    // The media backend speaks its mind on stderr; none of it is ours to show.
    helper.setStandardErrorFile(QProcess::nullDevice());
    const int cpu = mCpuSeconds > 0 ? mCpuSeconds : cpuSeconds(QFileInfo(path).size());
    QStringList arguments{QStringLiteral("--cpu-seconds"), QString::number(cpu)};
    if (mStereo)
        arguments << QStringLiteral("--channels") << QStringLiteral("2");
    helper.start(program, arguments << QStringLiteral("--") << path);
    if (!helper.waitForStarted(kStartMs)) {
        qCDebug(lcDecode, "%s: %s", qPrintable(program), qPrintable(helper.errorString()));
        return fail(QStringLiteral("the decoder could not be started"));
    }

    QByteArray pending;
    std::vector<float> samples;
    QString reason;
    int percent = 0;
    bool done = false;
    bool stopped = false;
    bool killed = false;
    // Takes the whole records in pending; false once nothing more is wanted.
    const auto take = [&] {
        qsizetype at = 0;
        while (pending.size() - at >= kHeadBytes) {
            const char kind = pending.at(at);
            const qint64 size = qFromLittleEndian<quint32>(pending.constData() + at + 1);
            const qint64 frameBytes = qint64(sizeof(float)) * (mStereo ? 2 : 1);
            if (size > kMaxRecordBytes || (kind == 'a' && size % frameBytes != 0)) {
                reason = QStringLiteral("the decoder gave output that cannot be read");
                return false;
            }
            if (pending.size() - at - kHeadBytes < size)
                break;
            const char* body = pending.constData() + at + kHeadBytes;
            at += kHeadBytes + size;
            if (kind == 'a') {
                samples.resize(static_cast<size_t>(size) / sizeof(float));
                std::memcpy(samples.data(), body, static_cast<size_t>(size));
                if (!sink(samples.data(), static_cast<qsizetype>(samples.size()))) {
                    stopped = true;
                    return false;
                }
            } else if (kind == 'p' && size == 1) {
                percent = std::clamp<int>(static_cast<unsigned char>(*body), 0, 100);
                if (progress)
                    progress(percent);
            } else if (kind == 'e') {
                reason = QString::fromUtf8(body, size);
                return false;
            } else if (kind == 'd') {
                done = true;
                return false;
            } else {
                reason = QStringLiteral("the decoder gave output that cannot be read");
                return false;
            }
        }
        pending.remove(0, at);
        return true;
    };

    QDeadlineTimer silence(mSilenceMs);
    for (;;) {
        const bool more = helper.waitForReadyRead(kPollMs);
        const QByteArray read = helper.readAll();
        if (!read.isEmpty()) {
            silence.setRemainingTime(mSilenceMs);
            pending += read;
            if (!take())
                break;
        }
        if (!more && helper.state() == QProcess::NotRunning)
            break;
        // A caller with a window gets its turn while the helper is quiet.
        if (!more && progress)
            progress(percent);
        if (!more && silence.hasExpired()) {
            qCDebug(lcDecode, "%s: silent for %d ms, killed", qPrintable(path), mSilenceMs);
            reason = QStringLiteral("the decoder ran out of time");
            killed = true;
            break;
        }
    }
    if (helper.state() != QProcess::NotRunning) {
        // Whatever it still has to say is of no use: it has said its last or is not wanted.
        if (!done || !helper.waitForFinished(kPollMs)) {
            helper.kill();
            helper.waitForFinished(kStartMs);
            killed = true;
        }
    }
    if (stopped || done)
        return true;
    if (reason.isEmpty() && !killed) {
        const int code = helper.exitCode();
        if (helper.exitStatus() == QProcess::CrashExit)
            reason = QStringLiteral("the decoder crashed");
        else if (code == kOutOfTime)
            reason = QStringLiteral("the decoder ran out of time");
        else if (code == kOutOfMemory)
            reason = QStringLiteral("the decoder ran out of memory");
        else
            reason = QStringLiteral("the decoder stopped before the end (status %1)").arg(code);
    }
    qCDebug(lcDecode, "%s: %s", qPrintable(path), qPrintable(reason));
    return fail(reason);
}

} // namespace kntr
