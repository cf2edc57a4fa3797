#pragma once

// A private PulseAudio server with one null sink for tests that play real sound,
// and a recorder on the sink's monitor. Qt Multimedia connects to the server it
// finds at its first use, so start the server before anything plays.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <vector>

namespace kntr::test {

/// A private sound server with one null sink, and a recorder on its monitor.
class NullSinkServer {
public:
    bool start(QString& why)
    {
        if (!mDir.isValid()) {
            why = "no temporary folder";
            return false;
        }
        const QString runtime = mDir.filePath("rt");
        QDir().mkpath(runtime);
        QDir().mkpath(mDir.filePath("state"));
        mSocket = runtime + "/native";
        // Everything about this server stays inside the temporary folder.
        qputenv("PULSE_RUNTIME_PATH", runtime.toLocal8Bit());
        qputenv("PULSE_STATE_PATH", mDir.filePath("state").toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + mSocket).toLocal8Bit());

        const QString pulseaudio = QStandardPaths::findExecutable("pulseaudio");
        const QString parec = QStandardPaths::findExecutable("parec");
        if (pulseaudio.isEmpty() || parec.isEmpty()) {
            why = "pulseaudio or parec is not installed (packages pulseaudio, pulseaudio-utils)";
            return false;
        }
        mServer.setProcessChannelMode(QProcess::MergedChannels);
        mServer.start(pulseaudio,
                      // Should this process die, the server ends by itself once idle.
                      {"-n", "--daemonize=no", "--exit-idle-time=30", "--system=false",
                       "--use-pid-file=false", "--log-target=stderr",
                       "--load=module-native-protocol-unix auth-anonymous=1 socket=" + mSocket,
                       "--load=module-null-sink sink_name=nullnr rate=44100 channels=2 "
                       "format=s16le norewinds=1"});
        if (!mServer.waitForStarted(5000)) {
            why = "pulseaudio did not start: " + mServer.errorString();
            return false;
        }
        for (int i = 0; i < 200 && !QFileInfo::exists(mSocket); ++i) {
            if (mServer.state() != QProcess::Running)
                break;
            QThread::msleep(25);
        }
        if (!QFileInfo::exists(mSocket)) {
            why = "pulseaudio did not open its socket: " + QString::fromLocal8Bit(mServer.readAll());
            return false;
        }

        mRecordingPath = mDir.filePath("rec.raw");
        mRecorder.setStandardOutputFile(mRecordingPath);
        mRecorder.start(parec,
                        {"-d", "nullnr.monitor", "--format=s16le", "--rate=44100", "--channels=2",
                         "--latency-msec=5", "--raw"});
        if (!mRecorder.waitForStarted(5000)) {
            why = "parec did not start";
            return false;
        }
        // The monitor delivers silence continuously once the recorder is connected.
        for (int i = 0; i < 400 && QFileInfo(mRecordingPath).size() < 4410 * 4; ++i)
            QThread::msleep(10);
        if (QFileInfo(mRecordingPath).size() == 0) {
            why = "parec records nothing";
            return false;
        }
        return true;
    }

    /// Sample frames recorded so far.
    qint64 recordedFrames() const { return QFileInfo(mRecordingPath).size() / 4; }

    /// The recording so far, from sample frame fromFrame on: left and right
    /// samples interleaved.
    std::vector<qint16> recording(qint64 fromFrame = 0) const
    {
        QFile f(mRecordingPath);
        if (!f.open(QIODevice::ReadOnly) || !f.seek(fromFrame * 4))
            return {};
        const QByteArray raw = f.readAll();
        std::vector<qint16> s(raw.size() / 2);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = qFromLittleEndian<qint16>(raw.constData() + 2 * i);
        return s;
    }

    /// Kills the sound server, as a crash would: whoever plays through it loses its output.
    void kill()
    {
        mServer.kill();
        mServer.waitForFinished(5000);
    }

    ~NullSinkServer()
    {
        // Both processes are ours: stop them by their own PIDs.
        for (QProcess* p : {&mRecorder, &mServer}) {
            if (p->state() == QProcess::NotRunning)
                continue;
            p->terminate();
            if (!p->waitForFinished(5000)) {
                p->kill();
                p->waitForFinished(5000);
            }
        }
    }

private:
    QTemporaryDir mDir;
    QString mSocket;
    QString mRecordingPath;
    QProcess mServer;
    QProcess mRecorder;
};

} // namespace kntr::test
