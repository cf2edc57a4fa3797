// The CD device reading a BIN/CUE image digitally: the samples it hands the sound
// card, its positions, and (on a private null sink) what is really heard.

#include "platform/mastergain.h"
#include "platform/paranoiacddevice.h"
#include "platform/systemclock.h"

#include "cdimage.h"
#include "nullsinkserver.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace kntr;
using kntr::test::CdImage;

namespace {

struct Disc {
    QTemporaryDir dir;
    CdImage image;
    Disc() { EXPECT_TRUE(dir.isValid() && image.write(QDir(dir.path()))); }
};

/// The position the device answers, in frames; -1 when it fails.
int positionOf(CdDevice& cd)
{
    QString answer;
    if (cd.sendCommand("status cdaudio position", &answer) != CdDevice::kOk)
        return -1;
    return CdDevice::parsePosition(answer).value_or(-1);
}

} // namespace

TEST(CdAudio, MediaPresentForAnImageNotForMissingOnes)
{
    Disc disc;
    const struct {
        QString device;
        int code;
        QString answer;
    } cases[] = {
        {disc.image.cuePath, CdDevice::kOk, "true"},
        {disc.dir.filePath("missing.cue"), CdDevice::kOk, "false"},
        {"/dev/kinetrova-no-such-drive", CdDevice::kNoDrive, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.device.toStdString());
        ParanoiaCdDevice cd(c.device);
        QString answer;
        EXPECT_EQ(cd.sendCommand("status cdaudio media present", &answer), c.code);
        EXPECT_EQ(answer, c.answer);
        if (c.answer != "true") {
            EXPECT_EQ(cd.sendCommand("play cdaudio from 00:04:00"), c.code ? c.code : int(CdDevice::kNoDisc));
        }
        EXPECT_EQ(cd.sendCommand("close cdaudio"), CdDevice::kOk);
    }
}

TEST(CdAudio, SourceHandsOutTheDiscsSamplesScaledByTheGain)
{
    Disc disc;
    const int end = CdImage::kFirstAddress + CdImage::kSectors;
    const struct {
        int from;
        unsigned level;
        qint64 pull; // bytes asked for at a time, most not whole sectors
    } cases[] = {
        {CdImage::kFirstAddress, MasterGain::kMaximum, 4096},
        {300, MasterGain::kMaximum, 1000}, // 00:04:00
        {CdImage::kFirstAddress + 440, 40000, 7777}, // across the start of track 2
        {end - 3, 0, 2352},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.from);
        int code = -1;
        std::unique_ptr<CdAudioDisc> cd = CdAudioDisc::open(disc.image.cuePath, &code);
        ASSERT_TRUE(cd);
        EXPECT_EQ(cd->firstFrame(), CdImage::kFirstAddress);
        EXPECT_EQ(cd->endFrame(), end);

        MasterGain gain;
        gain.setLevel(c.level);
        const double g = gain.gain();
        CdPcmSource source(*cd, c.from, &gain);
        QByteArray out;
        QByteArray chunk(c.pull, '\0');
        for (qint64 n; (n = source.read(chunk.data(), c.pull)) > 0;)
            out.append(chunk.constData(), n);
        ASSERT_TRUE(source.exhausted());
        EXPECT_FALSE(source.failed());
        ASSERT_EQ(out.size(), qint64(end - c.from) * CdAudioDisc::kSectorBytes);

        const qint64 first = CdImage::frameAt(c.from);
        for (qint64 i = 0; i < out.size() / 4; ++i) {
            qint16 s[2];
            std::memcpy(s, out.constData() + 4 * i, 4);
            const qint16 l = CdImage::left(first + i), r = CdImage::right(first + i);
            ASSERT_EQ(s[0], static_cast<qint16>(std::lround(l * g))) << "left, frame " << i;
            ASSERT_EQ(s[1], static_cast<qint16>(std::lround(r * g))) << "right, frame " << i;
        }
    }
}

TEST(CdAudio, SourceEndsWhenTheDiscCanNoLongerBeRead)
{
    Disc disc;
    int code = -1;
    std::unique_ptr<CdAudioDisc> cd = CdAudioDisc::open(disc.image.cuePath, &code);
    ASSERT_TRUE(cd);
    CdPcmSource source(*cd, CdImage::kFirstAddress, nullptr);
    QByteArray chunk(16 * CdAudioDisc::kSectorBytes, '\0');
    ASSERT_GT(source.read(chunk.data(), chunk.size()), 0);

    // The image loses everything after its 200th sector while playing.
    ASSERT_TRUE(QFile::resize(disc.image.binPath, 200 * CdAudioDisc::kSectorBytes));
    int pulls = 0;
    while (source.read(chunk.data(), chunk.size()) > 0 && pulls < 1000)
        ++pulls;
    EXPECT_TRUE(source.failed());
    EXPECT_TRUE(source.exhausted());
    // What could be read was handed out, then at most a short silence.
    EXPECT_GE(source.bytesRead(), 200 * CdAudioDisc::kSectorBytes);
    EXPECT_LE(source.bytesRead(), 230 * CdAudioDisc::kSectorBytes);
}

TEST(CdAudio, PlaysPausesAndResumesOnTheSoundCard)
{
    test::NullSinkServer server;
    QString why;
    if (!server.start(why))
        GTEST_SKIP() << "no sound output: " << why.toStdString();
    int argc = 1;
    char name[] = "cdaudio_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    SystemClock clock;
    Disc disc;
    MasterGain gain;
    ParanoiaCdDevice cd(disc.image.cuePath, &gain);
    EXPECT_EQ(positionOf(cd), CdImage::kFirstAddress);

    // A second from 00:04:00, then paused: the position is what was played, and stays.
    const qint64 before = server.recordedFrames();
    ASSERT_EQ(cd.sendCommand("play cdaudio from 00:04:00"), CdDevice::kOk);
    clock.wait(1000);
    ASSERT_EQ(cd.sendCommand("pause cdaudio"), CdDevice::kOk);
    const int paused = positionOf(cd);
    EXPECT_GE(paused, 300 + 30); // a loaded machine may start the sound a little late
    EXPECT_LE(paused, 300 + 80);
    clock.wait(500);
    EXPECT_EQ(positionOf(cd), paused);

    // Heard bit-exact from 00:04:00 up to the paused position, then (give or take
    // 0.3 s, what a slow machine still had on its way) nothing.
    const auto heardFrom = [&](qint64 from) {
        std::vector<qint16> rec = server.recording();
        while (from < static_cast<qint64>(rec.size() / 2) && rec[2 * from] == 0)
            ++from;
        return std::pair(rec, from);
    };
    const auto [rec, start] = heardFrom(before);
    const qint64 heard = CdImage::frameAt(paused) - CdImage::frameAt(300);
    ASSERT_LE(start + heard + 13230, static_cast<qint64>(rec.size() / 2)) << "not heard";
    for (qint64 i = 0; i < heard; ++i) {
        ASSERT_EQ(rec[2 * (start + i)], CdImage::left(CdImage::frameAt(300) + i)) << "frame " << i;
        ASSERT_EQ(rec[2 * (start + i) + 1], CdImage::right(CdImage::frameAt(300) + i)) << "frame " << i;
    }
    qint64 silentFrom = start + heard + 13230; // in the same recording: it keeps growing
    while (silentFrom < static_cast<qint64>(rec.size() / 2) && rec[2 * silentFrom] == 0)
        ++silentFrom;
    EXPECT_EQ(silentFrom, static_cast<qint64>(rec.size() / 2));

    // Play goes on from there, to the end of the disc's audio at the most.
    const qint64 beforeResume = server.recordedFrames();
    ASSERT_EQ(cd.sendCommand("play cdaudio"), CdDevice::kOk);
    clock.wait(300);
    const auto [rec2, resumed] = heardFrom(beforeResume);
    ASSERT_LT(resumed, static_cast<qint64>(rec2.size() / 2));
    EXPECT_EQ(rec2[2 * resumed], CdImage::left(CdImage::frameAt(paused)));
    const int end = CdImage::kFirstAddress + CdImage::kSectors;
    ASSERT_EQ(cd.sendCommand("play cdaudio from " + CdDevice::formatPosition(end - 10)), CdDevice::kOk);
    clock.wait(800);
    EXPECT_EQ(positionOf(cd), end);
    EXPECT_EQ(cd.sendCommand("play cdaudio from 00:01:00"), CdDevice::kBadPosition);
    EXPECT_EQ(cd.sendCommand("play cdaudio from " + CdDevice::formatPosition(end)), CdDevice::kBadPosition);

    // Stopped, it starts again from the beginning; closed, it opens the image again.
    EXPECT_EQ(cd.sendCommand("stop cdaudio"), CdDevice::kOk);
    EXPECT_EQ(positionOf(cd), CdImage::kFirstAddress);
    EXPECT_EQ(cd.sendCommand("close cdaudio"), CdDevice::kOk);
    EXPECT_EQ(cd.sendCommand("play cdaudio"), CdDevice::kOk);
    clock.wait(200);
    EXPECT_GT(positionOf(cd), CdImage::kFirstAddress);
    EXPECT_EQ(cd.sendCommand("close all"), CdDevice::kOk);
}
