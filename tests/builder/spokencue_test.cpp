// The words spoken after each tone, and clips as a workout file carries them.

#include "builder/spokencue.h"
#include "builder/voiceclipsamples.h"

#include "model/machine.h"
#include "model/segment.h"

#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

TEST(SpokenCue, ValuesBecomeTheirClipsByTheNumberRule)
{
    struct Case {
        const char* machine;
        double speed, incline;
        Units units;
        QChar separator;
        QStringList words;
    } cases[] = {
        {"Treadmill",
         12.5,
         3.0,
         Units::Miles,
         '.',
         {"Speed", "12", "", "point", "5", "Incline", "3", "", "point", "0"}},
        {"Treadmill",
         15.0,
         10.5,
         Units::Miles,
         '.',
         {"Speed", "1", "5", "point", "0", "Incline", "10", "", "point", "5"}},
        {"Treadmill",
         6.0,
         13.0,
         Units::Kilometres,
         '.',
         {"Speed", "9", "", "point", "7", "Incline", "1", "3", "point", "0"}},
        {"Treadmill",
         12.0,
         0.0,
         Units::Kilometres,
         ',',
         {"Speed", "1", "9", "point", "3", "Incline", "0", "", "point", "0"}},
        // Resistance has no km/h; the second value is never converted.
        {"Elliptical",
         6.0,
         2.5,
         Units::Kilometres,
         '.',
         {"Resistance", "6", "", "point", "0", "Incline", "2", "", "point", "5"}},
        {"Bike",
         4.25,
         12.9,
         Units::Miles,
         '.',
         {"Speed", "4", "", "point", "5", "Resistance", "12", "", "point", "9"}},
    };
    for (const Case& c : cases) {
        Machine machine;
        machine.setMachineType(QLatin1String(c.machine));
        Segment segment;
        segment.setSegmentSpeed(c.speed);
        segment.setSegmentIncline(c.incline);
        const SpokenCue::Words words = SpokenCue::words(segment, machine, c.units, c.separator);
        EXPECT_EQ(QStringList(words.begin(), words.end()), c.words) << c.machine << " " << c.speed;
    }
}

TEST(VoiceClipSamples, ClipsSkip88BytesAndPlayAt44kHz)
{
    QByteArray clip(88, 'h');
    clip += QByteArray("\x01\x02\x03\x04\x05", 5); // two samples and a stray byte
    EXPECT_EQ(VoiceClipSamples::convert(clip, true),
              QByteArray("\x01\x02\x01\x02\x01\x02\x01\x02"
                         "\x03\x04\x03\x04\x03\x04\x03\x04"));
    EXPECT_EQ(VoiceClipSamples::convert(clip, false), QByteArray("\x01\x02\x01\x02\x03\x04\x03\x04"));
    EXPECT_TRUE(VoiceClipSamples::convert(QByteArray(40, 'x'), true).isEmpty());

    VoiceClipSamples clips(QStringLiteral(KNTR_VOICECUE_DIR), true);
    EXPECT_EQ(clips.samples(QStringLiteral("GETREADY")).size(),
              4 * (QFileInfo(QStringLiteral(KNTR_VOICECUE_DIR "/getready.wav")).size() - 88));
    EXPECT_TRUE(clips.samples(QStringLiteral("13")).isEmpty());
    EXPECT_TRUE(clips.samples(QString()).isEmpty());
}

} // namespace
