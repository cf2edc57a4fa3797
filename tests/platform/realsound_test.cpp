// Plays through the real sound backend into a PulseAudio null sink that the test
// starts itself, records the sink's monitor and compares what was heard.

#include "model/machine.h"
#include "platform/mastergain.h"
#include "platform/qtmixer.h"
#include "platform/qtwaveplayer.h"
#include "platform/systemclock.h"
#include "tones/controltones.h"

#include "testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

/// A private sound server with one null sink, and a recorder on its monitor.
class NullSinkServer
{
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
        mRecorder.start(parec, {"-d", "nullnr.monitor", "--format=s16le", "--rate=44100",
                                "--channels=2", "--latency-msec=5", "--raw"});
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

    /// The recording so far: left and right samples interleaved.
    std::vector<qint16> recording() const
    {
        QFile f(mRecordingPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray raw = f.readAll();
        std::vector<qint16> s(raw.size() / 2);
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = qFromLittleEndian<qint16>(raw.constData() + 2 * i);
        return s;
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

QCoreApplication& application()
{
    static int argc = 1;
    static char name[] = "realsound_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Index of the first sample frame whose left channel is not zero, from `from` on.
qint64 firstSound(const std::vector<qint16>& rec, qint64 from = 0)
{
    for (qint64 i = from; i < static_cast<qint64>(rec.size() / 2); ++i)
        if (rec[2 * i] != 0)
            return i;
    return -1;
}

} // namespace

TEST(RealSound, ToneImageIsHeardBitExactAndFinishedMeansHeard)
{
    NullSinkServer server;
    QString why;
    ASSERT_TRUE(server.start(why)) << why.toStdString();
    application();

    MasterGain gain;
    QtMixer mixer(gain);
    ASSERT_TRUE(mixer.open()) << "the null sink is a sound output";

    SystemClock clock;
    QtWavePlayer player(clock, &gain);
    Machine machine;
    machine.setMachineType("Treadmill");
    ControlTones tones(machine);
    const QByteArray image = tones.MakeControlTone(65, 45, false);

    const qint64 before = server.recordedFrames();
    ASSERT_TRUE(player.playImage(image, true));
    const qint64 atFinish = server.recordedFrames();
    EXPECT_FALSE(player.isPlaying());

    // Let the recorder catch up, then find the image in the recording.
    clock.wait(300);
    const std::vector<qint16> rec = server.recording();
    const qint64 sound = firstSound(rec, before);
    ASSERT_GE(sound, 0) << "nothing was heard";
    // The image's first non-zero sample is the first burst of the first frame.
    const qint64 firstBurst = 1412 + 88;
    const qint64 start = sound - firstBurst;
    ASSERT_GE(start, before);
    ASSERT_LE(start + 9000, static_cast<qint64>(rec.size() / 2));
    for (qint64 i = 0; i < 9000; ++i) {
        const qint16 expected = qFromLittleEndian<qint16>(image.constData() + 44 + 2 * i);
        ASSERT_EQ(rec[2 * (start + i)], expected) << "left, sample " << i;
        ASSERT_EQ(rec[2 * (start + i) + 1], expected) << "right, sample " << i;
    }
    EXPECT_EQ(firstSound(rec, start + 9000), -1) << "nothing after the image";
    EXPECT_GE(atFinish, start + 9000)
        << "finished was reported " << (start + 9000 - atFinish) * 1000 / 44100
        << " ms before the last sample was heard";
    ::testing::Test::RecordProperty("finished_ms_after_last_sample",
                                    static_cast<int>((atFinish - start - 9000) * 1000 / 44100));

    // A 22,050 Hz mono clip plays in its own format and also finishes once heard.
    QByteArray clip("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0data",
                    40);
    const int clipFrames = 22050 / 4;
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(clipFrames * 2, size.data());
    clip += size;
    for (int i = 0; i < clipFrames; ++i) {
        char b[2];
        qToLittleEndian<qint16>(static_cast<qint16>(i % 50 < 25 ? 8000 : -8000), b);
        clip.append(b, 2);
    }
    QTemporaryDir dir;
    QFile file(dir.filePath("getready.wav"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(clip);
    file.close();
    const qint64 clipBefore = server.recordedFrames();
    ASSERT_TRUE(player.playFile(file.fileName()));
    const qint64 clipFinish = server.recordedFrames();
    clock.wait(300);
    const std::vector<qint16> rec2 = server.recording();
    qint64 lastSound = -1;
    for (qint64 i = clipBefore; i < static_cast<qint64>(rec2.size() / 2); ++i)
        if (rec2[2 * i] != 0)
            lastSound = i;
    ASSERT_GE(lastSound, 0) << "the clip was not heard";
    EXPECT_GE(clipFinish, lastSound + 1) << "finished before the clip's end was heard";
    ::testing::Test::RecordProperty("clip_finished_ms_after_last_sample",
                                    static_cast<int>((clipFinish - lastSound - 1) * 1000 / 44100));

    // Muted, nothing reaches the device; at the full level again, samples are unaltered.
    ASSERT_TRUE(mixer.setMuted(true));
    const qint64 mutedBefore = server.recordedFrames();
    ASSERT_TRUE(player.playImage(image, true));
    clock.wait(300);
    EXPECT_EQ(firstSound(server.recording(), mutedBefore), -1);
}
