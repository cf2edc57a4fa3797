#include "processcddevice.h"

#include "musicprocess.h"
#include "musicprotocol.h"

namespace kntr {

ProcessCdDevice::ProcessCdDevice(MusicProcess& process)
    : mProcess(process)
{
    mStatusConnection = QObject::connect(&mProcess, &MusicProcess::statusChanged, [this] { takeStatus(); });
    mSince.start();
}

ProcessCdDevice::~ProcessCdDevice()
{
    QObject::disconnect(mStatusConnection);
}

int ProcessCdDevice::mediaPresent(bool& present)
{
    present = false;
    if (mProcess.isDead())
        mProcess.reset(); // asked before a run: a new run gets a new music process
    if (!mProcess.ensureStarted() || !mProcess.waitForStarted())
        return kNoDrive;
    const std::optional<QList<QByteArray>> reply =
        mProcess.waitForReply("cd", sendCd(QStringLiteral("status cdaudio media present")), kAnswerMs);
    if (!reply)
        return kHardwareError;
    present = music::decode(reply->value(3)) == QLatin1String("true");
    return reply->value(2).toInt();
}

int ProcessCdDevice::play(std::optional<int> fromFrame)
{
    if (mProcess.isDead())
        return kOk;
    mProcess.setSubject(QStringLiteral("the CD"));
    if (!mProcess.ensureStarted())
        return kOk; // the failure is reported on its own
    mFrame = fromFrame ? *fromFrame : currentFrame();
    mCode = kOk;
    mPlaying = true;
    mSince.restart();
    sendCd(fromFrame ? QStringLiteral("play cdaudio from ") + formatPosition(*fromFrame)
                     : QStringLiteral("play cdaudio"));
    return kOk;
}

int ProcessCdDevice::pause()
{
    mFrame = currentFrame();
    mPlaying = false;
    mSince.restart();
    sendCd(QStringLiteral("pause cdaudio"));
    return kOk;
}

int ProcessCdDevice::position(int& frame)
{
    frame = 0;
    if (mProcess.isDead() || !mProcess.isRunning() || mCode < 0)
        return kHardwareError;
    if (mCode != kOk)
        return mCode;
    frame = currentFrame();
    return kOk;
}

int ProcessCdDevice::stop()
{
    mFrame = currentFrame();
    mPlaying = false;
    sendCd(QStringLiteral("stop cdaudio"));
    return kOk;
}

int ProcessCdDevice::close()
{
    mPlaying = false;
    sendCd(QStringLiteral("close cdaudio"));
    return kOk;
}

qint64 ProcessCdDevice::sendCd(const QString& command)
{
    return mProcess.send("cd " + music::encode(command));
}

int ProcessCdDevice::currentFrame() const
{
    return mFrame + (mPlaying ? static_cast<int>(mSince.elapsed() * kFramesPerSecond / 1000) : 0);
}

void ProcessCdDevice::takeStatus()
{
    const MusicProcess::Status& status = mProcess.status();
    if (status.cdCode < 0)
        return; // the music process has not used the CD
    mCode = status.cdCode;
    mFrame = status.cdFrame;
    mPlaying = status.cdPlaying;
    mSince.restart();
}

} // namespace kntr
