#include "musicprocess.h"

#include "helperprogram.h"
#include "mastergain.h"
#include "musicprotocol.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>
#include <QProcess>
#include <QTimer>

#include <utility>

namespace kntr {

namespace {

// Why the music process failed, for whoever looks into it (QT_LOGGING_RULES=
// "kinetrova.music.debug=true"); the user is told in the run's own words.
Q_LOGGING_CATEGORY(lcMusic, "kinetrova.music")

constexpr int kWatchdogMs = 200;
/// How long a killed process is given to be reaped.
constexpr int kReapMs = 1000;

} // namespace

MusicProcess::MusicProcess(QString program, QString cdDevice, const MasterGain* gain, QObject* parent)
    : QObject(parent)
    , mProgram(std::move(program))
    , mCdDevice(std::move(cdDevice))
    , mGain(gain)
    , mWatchdog(new QTimer(this))
{
    mWatchdog->setInterval(kWatchdogMs);
    connect(mWatchdog, &QTimer::timeout, this, &MusicProcess::checkAlive);
    if (gain)
        connect(gain, &MasterGain::changed, this, &MusicProcess::sendGain);
}

MusicProcess::~MusicProcess()
{
    end();
}

QString MusicProcess::defaultProgram()
{
    return helperProgram(QStringLiteral("kinetrova-music"));
}

void MusicProcess::setFailureHandler(std::function<void(const QString&)> handler)
{
    mFailureHandler = std::move(handler);
}

bool MusicProcess::isRunning() const
{
    return mProcess && mProcess->state() != QProcess::NotRunning;
}

qint64 MusicProcess::processId() const
{
    return isRunning() ? mProcess->processId() : 0;
}

bool MusicProcess::ensureStarted()
{
    if (mDead)
        return false;
    if (isRunning())
        return true;
    dropProcess();
    mProcess = std::make_unique<QProcess>();
    QProcess* process = mProcess.get();
    // Its warnings go where ours go; its reports come through stdout.
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(process, &QProcess::readyReadStandardOutput, this, &MusicProcess::readLines);
    connect(process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (!mEnding)
            fail(mQuiet > 0,
                 status == QProcess::CrashExit ? QStringLiteral("crashed")
                                               : QStringLiteral("exited with code %1").arg(code));
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (!mEnding && (error == QProcess::FailedToStart || error == QProcess::Crashed))
            fail(mQuiet > 0, process->errorString());
    });
    mSent = 0;
    mHeard = false;
    mStatus = Status();
    mSinceLine.start();
    QStringList arguments;
    if (!mCdDevice.isEmpty())
        arguments << QStringLiteral("--cd-device") << mCdDevice;
    process->start(mProgram.isEmpty() ? defaultProgram() : mProgram, arguments);
    if (mDead)
        return false;
    mWatchdog->start();
    sendGain();
    return true;
}

bool MusicProcess::waitForStarted(int ms)
{
    if (!isRunning())
        return false;
    ++mQuiet;
    if (!mProcess->waitForStarted(ms) && !mDead)
        fail(true, mProcess->errorString());
    --mQuiet;
    return !mDead && isRunning();
}

void MusicProcess::reset()
{
    end();
    mDead = false;
    mStatus = Status();
}

void MusicProcess::end(int graceMs)
{
    mWatchdog->stop();
    if (!mProcess)
        return;
    mEnding = true;
    if (isRunning()) {
        mProcess->closeWriteChannel();
        if (!mProcess->waitForFinished(graceMs)) {
            mProcess->kill();
            mProcess->waitForFinished(kReapMs);
        }
    }
    dropProcess(false);
    mEnding = false;
}

qint64 MusicProcess::send(const QByteArray& line)
{
    if (mDead || !isRunning())
        return 0;
    mProcess->write(line + '\n');
    return ++mSent;
}

std::optional<QList<QByteArray>> MusicProcess::waitForReply(const QByteArray& word, qint64 number, int ms)
{
    if (number <= 0)
        return std::nullopt;
    ++mQuiet;
    mWaitWord = word;
    mWaitNumber = number;
    mReply.clear();
    const QDeadlineTimer deadline(ms);
    while (mReply.isEmpty() && !mDead && isRunning()) {
        readLines();
        if (!mReply.isEmpty())
            break;
        if (deadline.hasExpired()) {
            fail(true, QStringLiteral("did not answer in time")); // it is of no further use
            break;
        }
        mProcess->waitForReadyRead(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100)));
    }
    --mQuiet;
    mWaitWord.clear();
    mWaitNumber = 0;
    if (mReply.isEmpty())
        return std::nullopt;
    return std::exchange(mReply, {});
}

void MusicProcess::readLines()
{
    while (mProcess && mProcess->canReadLine()) {
        QByteArray line = mProcess->readLine();
        line.chop(1);
        handleLine(line);
    }
}

void MusicProcess::handleLine(const QByteArray& line)
{
    mHeard = true;
    mSinceLine.restart();
    const QList<QByteArray> words = line.split(' ');
    if (words.isEmpty())
        return;
    if (words.at(0) == "status") {
        const QHash<QByteArray, QByteArray> f = music::fields(words);
        // A report from before the latest commands would undo what they did.
        if (f.value("seq").toLongLong() != mSent)
            return;
        mStatus.entry = f.value("entry").toInt();
        mStatus.entries = f.value("entries").toInt();
        mStatus.position = f.value("pos").toLongLong() / 1000.0;
        mStatus.duration = f.value("dur").toLongLong() / 1000.0;
        mStatus.playing = f.value("playing") == "1";
        mStatus.cdCode = f.value("cdcode", "-1").toInt();
        mStatus.cdFrame = f.value("cd").toInt();
        mStatus.cdPlaying = f.value("cdplaying") == "1";
        emit statusChanged();
    } else if (words.at(0) == "entry") {
        emit entryStarting(words.value(1).toInt());
    } else if (!mWaitWord.isEmpty() && words.at(0) == mWaitWord && words.size() >= 2
               && words.at(1).toLongLong() == mWaitNumber) {
        mReply = words;
    }
}

void MusicProcess::checkAlive()
{
    if (mDead || !isRunning())
        return;
    // Whatever came while this process was busy elsewhere counts first.
    if (mProcess->bytesAvailable() == 0)
        mProcess->waitForReadyRead(0);
    readLines();
    if (mDead || !isRunning())
        return;
    if (mSinceLine.elapsed() > (mHeard ? kHangMs : kStartMs))
        fail(false, QStringLiteral("stopped responding for %1 ms").arg(mSinceLine.elapsed()));
}

void MusicProcess::sendGain()
{
    if (!isRunning())
        return;
    const unsigned level = mGain ? mGain->level() : MasterGain::kMaximum;
    const bool muted = mGain && mGain->muted();
    send("gain " + QByteArray::number(level) + (muted ? " 1" : " 0"));
}

void MusicProcess::fail(bool quiet, const QString& why)
{
    if (mDead)
        return;
    qCDebug(lcMusic, "The music process failed (%s): the music stops.", qPrintable(why));
    mDead = true;
    mWatchdog->stop();
    dropProcess();
    emit failed();
    if (quiet || !mFailureHandler)
        return;
    // Told from the event loop, never from inside a call of the players.
    QMetaObject::invokeMethod(
        this,
        [this, what = mSubject.isEmpty() ? QStringLiteral("the music") : mSubject] {
            if (mFailureHandler)
                mFailureHandler(what);
        },
        Qt::QueuedConnection);
}

void MusicProcess::dropProcess(bool later)
{
    if (!mProcess)
        return;
    QProcess* process = mProcess.release();
    process->disconnect(this);
    if (process->state() != QProcess::NotRunning) {
        process->kill();
        process->waitForFinished(kReapMs);
    }
    // A failure is noticed inside one of the process's own signals: it goes once control is back.
    if (later)
        process->deleteLater();
    else
        delete process;
}

} // namespace kntr
