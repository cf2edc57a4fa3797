// Without a sound server the sound card backends fail cleanly.

#include "platform/libcdiocddevice.h"
#include "platform/mastergain.h"
#include "platform/paranoiacddevice.h"
#include "platform/qtmixer.h"
#include "platform/qtwaveplayer.h"
#include "platform/systemclock.h"
#include "tones/controltones.h"
#include "model/machine.h"

#include "cdimage.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

TEST(NoSoundOutput, MixerDoesNotOpenAndPlaysFailWithoutWaiting)
{
    // Point the sound client at a server that is not there (and never start one).
    qputenv("PULSE_SERVER", "unix:/nonexistent/kinetrova-test/native");
    int argc = 1;
    char name[] = "nosound_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    MasterGain gain;
    QtMixer mixer(gain);
    EXPECT_FALSE(mixer.open());
    EXPECT_FALSE(mixer.setVolume(1000));
    EXPECT_EQ(gain.level(), 65535u);

    SystemClock clock;
    QtWavePlayer player(clock, &gain);
    Machine machine;
    ControlTones tones(machine);
    const qint64 start = clock.tickMs();
    EXPECT_FALSE(player.playImage(tones.MakeControlTone(65, 45, false), true));
    EXPECT_FALSE(player.playFile("/no/such/clip.wav"));
    EXPECT_FALSE(player.isPlaying());
    EXPECT_LT(clock.tickMs() - start, 5000);

    // The disc is there, but there is nothing to play it on.
    QTemporaryDir dir;
    test::CdImage image;
    ASSERT_TRUE(image.write(QDir(dir.path())));
    ParanoiaCdDevice cd(image.cuePath, &gain);
    QString answer;
    EXPECT_EQ(cd.sendCommand("status cdaudio media present", &answer), CdDevice::kOk);
    EXPECT_EQ(answer, "true");
    EXPECT_EQ(cd.sendCommand("play cdaudio from 00:04:00"), CdDevice::kHardwareError);
    EXPECT_EQ(cd.sendCommand("status cdaudio position", &answer), CdDevice::kOk);
    EXPECT_EQ(answer, "00:04:00");
}

TEST(NoCdDrive, MediaPresentIsNotTrue)
{
    // A build machine has no CD drive; where one is, this only checks the answer's form.
    LibcdioCdDevice cd;
    QString answer;
    const int code = cd.sendCommand("status cdaudio media present", &answer);
    if (code != CdDevice::kOk) {
        EXPECT_EQ(code, CdDevice::kNoDrive);
        EXPECT_NE(answer, "true");
    } else {
        EXPECT_TRUE(answer == "true" || answer == "false");
    }
    EXPECT_EQ(cd.sendCommand("close all"), 0);
}
