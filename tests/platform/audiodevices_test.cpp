#include "platform/cddevice.h"
#include "platform/clock.h"
#include "fakecddevice.h"
#include "fakemixer.h"
#include "platform/mastergain.h"
#include "recordingwaveplayer.h"
#include "platform/wavimage.h"

#include "testenv.h"
#include "manualclock.h"

#include <QtEndian>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

QByteArray wav(int channels, int rate, int bits, const QByteArray& samples,
               const QByteArray& extraChunk = QByteArray())
{
    QByteArray w("RIFF\0\0\0\0WAVE", 12);
    w += extraChunk;
    QByteArray fmt(16, '\0');
    qToLittleEndian<quint16>(1, fmt.data());
    qToLittleEndian<quint16>(channels, fmt.data() + 2);
    qToLittleEndian<quint32>(rate, fmt.data() + 4);
    qToLittleEndian<quint32>(rate * channels * bits / 8, fmt.data() + 8);
    qToLittleEndian<quint16>(channels * bits / 8, fmt.data() + 12);
    qToLittleEndian<quint16>(bits, fmt.data() + 14);
    w += QByteArray("fmt \x10\0\0\0", 8) + fmt + QByteArray("data", 4);
    QByteArray size(4, '\0');
    qToLittleEndian<quint32>(samples.size(), size.data());
    w += size + samples;
    qToLittleEndian<quint32>(w.size() - 8, w.data() + 4);
    return w;
}

} // namespace

TEST(WavImage, ReadsPcmAndSkipsOtherChunks)
{
    const QByteArray samples("\x01\x02\x03\x04\x05\x06", 6);
    std::optional<WavImage> w =
        WavImage::parse(wav(1, 22050, 16, samples, QByteArray("LIST\x03\0\0\0abc\0", 12)));
    ASSERT_TRUE(w);
    EXPECT_EQ(w->channels, 1);
    EXPECT_EQ(w->sampleRate, 22050);
    EXPECT_EQ(w->bitsPerSample, 16);
    EXPECT_EQ(w->samples, samples);
    EXPECT_EQ(w->frames(), 3);

    // A data size larger than the file is cut to whole frames of what is there.
    QByteArray cut = wav(2, 44100, 16, QByteArray(44100 * 4, '\0'));
    qToLittleEndian<quint32>(0xFFFFFFFF, cut.data() + cut.indexOf("data") + 4);
    cut.chop(3);
    w = WavImage::parse(cut);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->samples.size(), 44100 * 4 - 4);

    EXPECT_EQ(WavImage::parse(wav(1, 44100, 16, QByteArray(88200, '\0')))->durationUs(), 1000000);
    EXPECT_FALSE(WavImage::parse(QByteArray()));
    EXPECT_FALSE(WavImage::parse("RIFF\0\0\0\0WAVX"));
    EXPECT_FALSE(WavImage::parse(wav(1, 44100, 24, samples)));
    EXPECT_FALSE(WavImage::parse(wav(0, 44100, 16, samples)));
}

TEST(CdDevice, PositionsAndErrorTexts)
{
    EXPECT_EQ(CdDevice::formatPosition(0), "00:00:00");
    EXPECT_EQ(CdDevice::formatPosition((3 * 60 + 7) * 75 + 74), "03:07:74");
    EXPECT_EQ(CdDevice::formatPosition(105 * 60 * 75), "105:00:00");
    EXPECT_EQ(CdDevice::parsePosition("03:07:74"), (3 * 60 + 7) * 75 + 74);
    EXPECT_EQ(CdDevice::parsePosition("3:07"), (3 * 60 + 7) * 75);
    EXPECT_EQ(CdDevice::parsePosition("12000"), 12 * 75) << "a bare number counts milliseconds";
    EXPECT_FALSE(CdDevice::parsePosition("03:60:00"));
    EXPECT_FALSE(CdDevice::parsePosition("03:00:75"));
    EXPECT_FALSE(CdDevice::parsePosition("later"));
    EXPECT_FALSE(CdDevice::parsePosition("-5"));
    for (int code : {int(CdDevice::kNoDrive), int(CdDevice::kNoDisc), int(CdDevice::kUnknownCommand), 999})
        EXPECT_FALSE(CdDevice::errorText(code).isEmpty());
}

TEST(FakeCdDevice, ADiscPlaysPausesAndResumesInVirtualTime)
{
    ManualClock clock;
    FakeCdDevice cd(clock);
    QString answer;
    EXPECT_EQ(cd.sendCommand("status cdaudio media present", &answer), 0);
    EXPECT_EQ(answer, "true");
    EXPECT_EQ(cd.sendCommand("play cdaudio"), 0);
    clock.advance(61500);
    EXPECT_EQ(cd.sendCommand("status cdaudio position", &answer), 0);
    EXPECT_EQ(answer, "01:03:37");
    EXPECT_EQ(cd.sendCommand("pause cdaudio"), 0);
    clock.advance(10000);
    cd.sendCommand("status cdaudio position", &answer);
    EXPECT_EQ(answer, "01:03:37") << "the position stays while paused";
    EXPECT_EQ(cd.sendCommand("play cdaudio from 02:10:00"), 0);
    clock.advance(1000);
    cd.sendCommand("Status CDAudio Position", &answer);
    EXPECT_EQ(answer, "02:11:00");
    EXPECT_EQ(cd.sendCommand("stop cdaudio"), 0);
    EXPECT_FALSE(cd.playing());
    EXPECT_EQ(cd.sendCommand("close all"), 0);
    EXPECT_FALSE(cd.isOpen());

    ASSERT_EQ(cd.sent().size(), 9u);
    EXPECT_EQ(cd.sent()[2].atMs, 61500);
    EXPECT_EQ(cd.sent()[2].answer, "01:03:37");
}

TEST(FakeCdDevice, NoDiscNoDriveAndBadCommands)
{
    ManualClock clock;
    FakeCdDevice cd(clock);
    cd.setDiscPresent(false);
    QString answer = "x";
    EXPECT_EQ(cd.sendCommand("status cdaudio media present", &answer), 0);
    EXPECT_EQ(answer, "false");
    EXPECT_EQ(cd.sendCommand("play cdaudio"), CdDevice::kNoDisc);

    cd.setDrivePresent(false);
    EXPECT_EQ(cd.sendCommand("status cdaudio media present", &answer), CdDevice::kNoDrive);
    EXPECT_NE(answer, "true");
    EXPECT_EQ(cd.sendCommand("close all"), 0);

    cd.setDrivePresent(true);
    cd.setDiscPresent(true);
    EXPECT_EQ(cd.sendCommand("rewind cdaudio"), CdDevice::kUnknownCommand);
    EXPECT_EQ(cd.sendCommand("status cdaudio volume"), CdDevice::kUnknownKeyword);
    EXPECT_EQ(cd.sendCommand("play waveaudio"), CdDevice::kUnknownDevice);
    EXPECT_EQ(cd.sendCommand("play cdaudio from soon"), CdDevice::kBadPosition);
    EXPECT_EQ(cd.sendCommand("play cdaudio from 99:00:00"), CdDevice::kBadPosition);
    EXPECT_EQ(cd.sendCommand(""), CdDevice::kUnknownCommand);
}

TEST(FakeCdDevice, PlayingStopsAtTheEndOfTheDisc)
{
    ManualClock clock;
    FakeCdDevice cd(clock, 10);
    cd.sendCommand("play cdaudio");
    clock.advance(60000);
    QString answer;
    cd.sendCommand("status cdaudio position", &answer);
    EXPECT_EQ(answer, "00:12:00");
    EXPECT_FALSE(cd.playing());
    cd.sendCommand("play cdaudio");
    EXPECT_TRUE(cd.playing());
    EXPECT_EQ(cd.currentFrame(), 150) << "playing on from the end starts again";
}

TEST(MasterGain, FullLevelLeavesSamplesAloneAndMuteSilences)
{
    MasterGain gain;
    int changes = 0;
    QObject::connect(&gain, &MasterGain::changed, [&] { ++changes; });
    EXPECT_EQ(gain.gain(), 1.0);
    gain.setLevel(58980);
    EXPECT_NEAR(gain.gain(), 0.5, 0.01);
    gain.setLevel(0);
    EXPECT_EQ(gain.gain(), 0.0);
    gain.setLevel(70000);
    EXPECT_EQ(gain.level(), 65535u);
    EXPECT_EQ(gain.gain(), 1.0);
    gain.setMuted(true);
    EXPECT_EQ(gain.gain(), 0.0);
    gain.setMuted(true);
    EXPECT_EQ(changes, 4);
    double last = 0;
    gain.setMuted(false);
    for (unsigned level = 0; level <= 65535; level += 4369) {
        gain.setLevel(level);
        EXPECT_GE(gain.gain(), last);
        last = gain.gain();
    }
}

TEST(FakeMixer, RecordsChangesAndCanBeMissing)
{
    ManualClock clock;
    FakeMixer mixer(clock);
    mixer.preset(40000, true);
    ASSERT_TRUE(mixer.open());
    EXPECT_EQ(mixer.volume(), 40000u);
    EXPECT_TRUE(mixer.isMuted());
    clock.advance(250);
    EXPECT_TRUE(mixer.setVolume(58980));
    EXPECT_TRUE(mixer.setMuted(false));
    ASSERT_EQ(mixer.changes().size(), 3u);
    EXPECT_EQ(mixer.changes()[1].atMs, 250);
    EXPECT_EQ(mixer.changes()[1].what, "volume");
    EXPECT_EQ(mixer.changes()[1].value, 58980u);

    FakeMixer none(clock);
    none.setAvailable(false);
    EXPECT_FALSE(none.open());
    EXPECT_FALSE(none.setVolume(100));
    EXPECT_EQ(none.volume(), 0u);
}

TEST(RecordingWavePlayer, WaitingPlaysTakeTheSoundsLength)
{
    ManualClock clock;
    RecordingWavePlayer player(clock);
    const QByteArray image = wav(1, 44100, 16, QByteArray(18000, '\0'));
    EXPECT_TRUE(player.playImage(image, true));
    EXPECT_EQ(clock.tickMs(), 205) << "9000 samples at 44.1 kHz, rounded up";
    EXPECT_TRUE(player.playImage(image, false));
    EXPECT_EQ(clock.tickMs(), 205);
    EXPECT_FALSE(player.playFile("/no/such/clip.wav"));
    EXPECT_FALSE(player.playImage("junk", true));
    player.setFailing(true);
    EXPECT_FALSE(player.playImage(image, true));
    EXPECT_EQ(clock.tickMs(), 205);
    player.stop();

    ASSERT_EQ(player.calls().size(), 6u);
    EXPECT_EQ(player.calls()[1].atMs, 205);
    EXPECT_FALSE(player.calls()[1].wait);
    EXPECT_EQ(player.calls()[0].image, image);
    EXPECT_EQ(player.calls()[2].kind, RecordingWavePlayer::Kind::File);
    EXPECT_EQ(player.clipNames(), QStringList({"clip"}));
    EXPECT_EQ(player.calls()[5].kind, RecordingWavePlayer::Kind::Stop);
}
