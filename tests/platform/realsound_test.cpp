// Plays through the real sound backend into a PulseAudio null sink that the test
// starts itself, records the sink's monitor and compares what was heard.

#include "model/machine.h"
#include "platform/mastergain.h"
#include "platform/qtmixer.h"
#include "platform/qtwaveplayer.h"
#include "platform/systemclock.h"
#include "tones/controltones.h"

#include "nullsinkserver.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kntr;
using kntr::test::NullSinkServer;

namespace {

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
    EXPECT_GE(atFinish, start + 9000) << "finished was reported " << (start + 9000 - atFinish) * 1000 / 44100
                                      << " ms before the last sample was heard";
    ::testing::Test::RecordProperty("finished_ms_after_last_sample",
                                    static_cast<int>((atFinish - start - 9000) * 1000 / 44100));

    // A 22,050 Hz mono clip plays in its own format and also finishes once heard.
    QByteArray clip("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0data", 40);
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
