// Reading control tones back from audio: every command the synthesis makes,
// at other levels and offsets, under noise and music.

#include "tones/commandencoding.h"
#include "tones/commandtargets.h"
#include "tones/controltones.h"
#include "tones/tonedecoder.h"

#include "model/machine.h"

#include "testenv.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace kntr;

namespace {

const QStringList kMachineTypes = {"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"};

// The samples of a WAV image as one channel.
std::vector<float> mono(const QByteArray& image, int channels)
{
    std::vector<float> out;
    for (qsizetype i = ControlTones::kHeaderSize; i + 2 * channels <= image.size(); i += 2 * channels) {
        float sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += qFromLittleEndian<qint16>(image.constData() + i + 2 * c) / 32768.0f;
        out.push_back(sum / channels);
    }
    return out;
}

int frameValue(const QString& frame)
{
    int v = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (frame[2 + bit] == QLatin1Char('1'))
            v |= 1 << bit;
    return v;
}

struct Conditions {
    const char* name;
    float level; // of the tone
    float noise; // standard deviation of white noise
    float music; // amplitude of each of four sines, one close to 2 kHz
    int offset; // samples of audio before the image
};

// The image placed into longer audio as the conditions say.
std::vector<float> scene(const std::vector<float>& image, const Conditions& c, unsigned seed)
{
    std::vector<float> audio(static_cast<size_t>(c.offset) + image.size() + 30000, 0.0f);
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, c.noise > 0 ? c.noise : 1.0f);
    for (size_t i = 0; i < audio.size(); ++i) {
        float v = 0.0f;
        if (i >= static_cast<size_t>(c.offset) && i - c.offset < image.size())
            v = image[i - c.offset] * c.level;
        if (c.noise > 0)
            v += noise(random);
        for (double f : {440.0, 1130.0, 1930.0, 3150.0})
            v += c.music
                * static_cast<float>(std::sin(2 * std::numbers::pi * f * static_cast<double>(i) / 44100));
        audio[i] = v;
    }
    return audio;
}

} // namespace

TEST(ToneDecoder, ReadsEveryCommandOfEveryMachineTypeUnderAdverseConditions)
{
    const Conditions conditions[] = {
        {"clean", 1.0f, 0.0f, 0.0f, 0},
        {"quiet and late", 0.05f, 0.0f, 0.0f, 12345},
        {"noise", 0.5f, 0.03f, 0.0f, 777},
        {"music underneath", 0.6f, 0.005f, 0.06f, 44100},
    };
    const std::pair<int, int> values[] = {{65, 45},   {120, 400}, {30, 147}, {10, 0},
                                          {252, 252}, {255, 1},   {50, 100}};
    unsigned seed = 1;
    for (const QString& type : kMachineTypes) {
        Machine machine;
        machine.setMachineType(type);
        ControlTones tones(machine);
        for (const bool stereo : {false, true}) {
            tones.BuildToneBlocks(stereo);
            for (const auto& [first, second] : values) {
                const auto a = static_cast<std::int16_t>(first), b = static_cast<std::int16_t>(second);
                const CommandFrames frames = EncodeCommand(type, a, b);
                const std::vector<float> image = mono(tones.MakeControlTone(a, b, stereo), stereo ? 2 : 1);
                for (const Conditions& c : conditions) {
                    SCOPED_TRACE(QStringLiteral("%1 %2 %3 %4 %5")
                                     .arg(type)
                                     .arg(first)
                                     .arg(second)
                                     .arg(c.name)
                                     .arg(stereo ? "stereo" : "mono")
                                     .toStdString());
                    const std::vector<float> audio = scene(image, c, seed++);
                    const std::vector<DecodedCommand> found =
                        ToneDecoder::decode(audio.data(), std::ssize(audio));
                    ASSERT_EQ(found.size(), 1u);
                    EXPECT_NEAR(found[0].seconds, c.offset / 44100.0, 1e-4);
                    EXPECT_EQ(found[0].first, frameValue(frames[0]));
                    EXPECT_EQ(found[0].second, frameValue(frames[1]));
                    EXPECT_EQ(found[0].check, frameValue(frames[2]));
                    EXPECT_TRUE(found[0].clean());
                    EXPECT_EQ(found[0].beeps, 1);
                }
            }
        }
    }
}

TEST(ToneDecoder, TellsTwoBeepsAndDamagedFramesAndFindsNothingInMusicAlone)
{
    Machine machine;
    machine.setMachineType("Treadmill");
    ControlTones tones(machine);
    std::vector<float> tone = mono(tones.MakeControlTone(65, 45, false), 1);
    std::vector<float> audio(20000, 0.0f);
    audio.insert(audio.end(), tone.begin(), tone.end());
    audio.insert(audio.end(), tone.begin(), tone.end()); // the second beep
    audio.insert(audio.end(), 30000, 0.0f);
    // A later command whose second frame set lost a tone symbol (bit 0 of its first value).
    const size_t damaged = audio.size();
    audio.insert(audio.end(), tone.begin(), tone.end());
    const size_t symbol = damaged + 1412 + 3 * 880 + 1054 + 2 * 88;
    std::fill(audio.begin() + static_cast<qsizetype>(symbol),
              audio.begin() + static_cast<qsizetype>(symbol + 88), 0.0f);
    audio.insert(audio.end(), 30000, 0.0f);

    // Fed in small uneven pieces, as a decoder hands them on.
    ToneDecoder decoder;
    for (size_t at = 0; at < audio.size(); at += 1237)
        decoder.feed(audio.data() + at, static_cast<qsizetype>(std::min<size_t>(1237, audio.size() - at)));
    decoder.finish();
    const std::vector<DecodedCommand>& found = decoder.commands();
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].beeps, 2);
    EXPECT_TRUE(found[0].clean());
    EXPECT_NEAR(found[0].seconds, 20000 / 44100.0, 1e-4);
    EXPECT_EQ(found[1].first, 65);
    EXPECT_TRUE(found[1].checkHolds);
    EXPECT_FALSE(found[1].repeatMatched);
    EXPECT_FALSE(found[1].clean());

    // A 2 kHz note coming and going over a low one, and loud noise, hold no command.
    std::vector<float> music(44100 * 60);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 0.3f);
    for (size_t i = 0; i < music.size(); ++i)
        music[i] = i < music.size() / 2
            ? 0.5f * static_cast<float>(std::sin(0.28495 * static_cast<double>(i)) * (i / 20000 % 2))
                + 0.2f * static_cast<float>(std::sin(0.05 * static_cast<double>(i)))
            : noise(random);
    EXPECT_TRUE(ToneDecoder::decode(music.data(), std::ssize(music)).empty());
}

TEST(CommandTargets, UndoesTheMachineTypeAdjustment)
{
    const struct {
        const char* type;
        int first, second; // tenths, as the segment holds them
        const char* text;
    } rows[] = {
        {"Treadmill", 65, 45, "speed 6.5, incline 4.5"},
        {"Treadmill", 120, 400, "speed 12.0, incline 40.0"},
        {"Incline trainer", 30, 0, "speed 3.0, incline 0.0"},
        {"Elliptical", 50, 100, "resistance 5.0, incline 10.0"},
        {"Elliptical Type A", 10, 0, "speed 1.0, resistance 0.0"},
        {"Elliptical Type A", 64, 150, "speed 6.4, resistance 15.0"},
        {"Bike", 200, 35, "speed 20.0, resistance 3.5"},
        {"Bike", 252, 252, "stop"},
    };
    for (const auto& r : rows) {
        auto first = static_cast<std::int16_t>(r.first), second = static_cast<std::int16_t>(r.second);
        AdjustCommand(r.type, first, second);
        EXPECT_EQ(CommandTargets::fromSent(r.type, first & 0xFF, second & 0xFF).text(), r.text) << r.type;
    }
}
