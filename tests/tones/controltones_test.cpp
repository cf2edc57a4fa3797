#include "tones/controltones.h"

#include "model/machine.h"
#include "tones/commandencoding.h"

#include "testenv.h"

#include <gtest/gtest.h>

#include <QtEndian>

#include <cmath>

using namespace kntr;

namespace {

const QStringList kMachineTypes = {"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"};

int word(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

quint32 dword(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

// One burst sample straight from its definition, with float arithmetic written out.
int referenceSample(int n)
{
    const double w = 0.28494998812675476; // 0.28495 as a float
    float p = static_cast<float>(std::sin(n * w) * 32768.0);
    if (p < 0)
        p = static_cast<float>(p + 65535.0);
    return static_cast<int>(std::nearbyint(p)); // the default mode rounds halves to even
}

const std::vector<int>& referenceBurst()
{
    static const std::vector<int> burst = [] {
        std::vector<int> b;
        for (int n = 1; n <= 88; ++n)
            b.push_back(referenceSample(n));
        return b;
    }();
    return burst;
}

// The samples of a whole image, placed one by one where the layout table puts
// them: lead-in 1412 frames, three frames of 10 symbols of 88 samples, a gap of
// 1054, the three frames again, a tail of 1254.
QByteArray referenceSamples(const CommandFrames& frames, int channels)
{
    QByteArray s(9000 * 2 * channels, '\0');
    char* out = s.data();
    const auto place = [&](int firstFrame) {
        for (int f = 0; f < 3; ++f)
            for (int symbol = 0; symbol < 10; ++symbol) {
                if (frames[f][symbol] != '1')
                    continue;
                for (int n = 1; n <= 88; ++n) {
                    const int at = firstFrame + f * 880 + symbol * 88 + (n - 1);
                    const int word = referenceBurst()[n - 1];
                    for (int c = 0; c < channels; ++c) {
                        out[(at * channels + c) * 2] = static_cast<char>(word & 0xFF);
                        out[(at * channels + c) * 2 + 1] = static_cast<char>(word >> 8);
                    }
                }
            }
    };
    place(1412);
    place(1412 + 3 * 880 + 1054);
    return s;
}

void expectImage(const QByteArray& image, const CommandFrames& frames, bool stereo, const std::string& what)
{
    const int channels = stereo ? 2 : 1;
    ASSERT_EQ(image.size(), stereo ? 36044 : 18044) << what;
    const QByteArray expected = referenceSamples(frames, channels);
    if (image.mid(44) == expected)
        return;
    for (int i = 0; i < 9000 * channels; ++i)
        ASSERT_EQ(word(image, 44 + i * 2), word(expected, i * 2)) << what << " sample " << i;
}

class ControlTonesTest : public ::testing::Test {
protected:
    Machine machine;
    ControlTones tones{machine};

    void SetUp() override { machine.setMachineType("Treadmill"); }
};

} // namespace

TEST_F(ControlTonesTest, BurstSamplesAsDocumented)
{
    const auto s = ControlTones::toneSamples();
    EXPECT_EQ(s[0], 0x23FB);
    EXPECT_EQ(s[1], 0x4510);
    EXPECT_EQ(s[5], 0x7EC4);
    EXPECT_EQ(s[10], 0x00EA);
    EXPECT_EQ(s[11], 0xDCE4) << "-8986.54 is stored as -8988";
    EXPECT_EQ(s[16], 0x811B);
    EXPECT_EQ(s[87], 0xF8B0);
    int low = 0, high = 0;
    for (int n = 1; n <= 88; ++n) {
        EXPECT_EQ(s[n - 1], referenceSample(n)) << n;
        const int asSigned = static_cast<std::int16_t>(s[n - 1]);
        low = std::min(low, asSigned);
        high = std::max(high, asSigned);
    }
    EXPECT_EQ(low, -32640);
    EXPECT_EQ(high, 32617);

    // The block bytes: low byte first, each word twice in stereo.
    EXPECT_EQ(tones.toneBlock().size(), 176);
    EXPECT_EQ(tones.toneBlock().left(4), QByteArray("\xFB\x23\x10\x45", 4));
    EXPECT_EQ(tones.toneBlock().right(2), QByteArray("\xB0\xF8", 2));
    EXPECT_EQ(tones.silenceBlock(), QByteArray(176, '\0'));
    tones.BuildToneBlocks(true);
    EXPECT_EQ(tones.toneBlock().size(), 352);
    EXPECT_EQ(tones.toneBlock().left(8), QByteArray("\xFB\x23\xFB\x23\x10\x45\x10\x45", 8));
    EXPECT_EQ(tones.silenceBlock(), QByteArray(352, '\0'));
}

TEST_F(ControlTonesTest, HeadersForBothModes)
{
    const QByteArray mono = tones.MakeControlTone(65, 45, false);
    const QByteArray monoHeader("RIFF\x74\x46\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00"
                                "\x44\xAC\x00\x00\x88\x58\x01\x00\x02\x00\x10\x00"
                                "data\x50\x46\x00\x00",
                                44);
    EXPECT_EQ(mono.left(44), monoHeader);
    EXPECT_EQ(dword(mono, 4), 18036u);
    EXPECT_EQ(dword(mono, 40), 18000u);

    tones.BuildToneBlocks(true);
    const QByteArray stereo = tones.MakeControlTone(65, 45, true);
    EXPECT_EQ(stereo.left(4), "RIFF");
    EXPECT_EQ(dword(stereo, 4), 36036u);
    EXPECT_EQ(stereo.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(dword(stereo, 16), 16u);
    EXPECT_EQ(word(stereo, 20), 1);
    EXPECT_EQ(word(stereo, 22), 2);
    EXPECT_EQ(dword(stereo, 24), 44100u);
    EXPECT_EQ(dword(stereo, 28), 176400u);
    EXPECT_EQ(word(stereo, 32), 4);
    EXPECT_EQ(word(stereo, 34), 16);
    EXPECT_EQ(stereo.mid(36, 4), "data");
    EXPECT_EQ(dword(stereo, 40), 36000u);
}

TEST_F(ControlTonesTest, ImageLayout)
{
    const QByteArray image = tones.MakeControlTone(65, 45, false);
    ASSERT_EQ(image.size(), 18044);
    // Lead-in silence, then the first frame: a silent symbol ("0"), a burst ("1").
    EXPECT_EQ(image.mid(44, 2824 + 176), QByteArray(2824 + 176, '\0'));
    EXPECT_EQ(image.mid(44 + 2824 + 176, 176), tones.toneBlock());
    // Each frame of 65 (0110000010) is followed by the next; the gap and tail are silent.
    const int gapStart = 44 + 2824 + 3 * 1760;
    EXPECT_EQ(image.mid(gapStart, 2108), QByteArray(2108, '\0'));
    EXPECT_EQ(image.mid(gapStart + 2108, 3 * 1760), image.mid(44 + 2824, 3 * 1760));
    EXPECT_EQ(image.right(2508), QByteArray(2508, '\0'));
    // "11" in the check frame of 110 (0101110110): the burst restarts at n = 1.
    const int check = 44 + 2824 + 2 * 1760;
    EXPECT_EQ(image.mid(check + 3 * 176, 176), tones.toneBlock());
    EXPECT_EQ(image.mid(check + 4 * 176, 176), tones.toneBlock());
    EXPECT_EQ(image.mid(check + 5 * 176, 176), tones.toneBlock());
}

TEST_F(ControlTonesTest, StopCommandImageIsTheSameForEveryMachineType)
{
    const QByteArray treadmill = tones.MakeControlTone(252, 252, false);
    for (const QString& type : kMachineTypes) {
        machine.setMachineType(type);
        EXPECT_EQ(tones.MakeControlTone(252, 252, false), treadmill) << type.toStdString();
    }
}

TEST_F(ControlTonesTest, ImagesReadTheMachineTypeAtEveryCall)
{
    const QByteArray treadmill = tones.MakeControlTone(50, 100, false);
    machine.setMachineType("Elliptical");
    const QByteArray elliptical = tones.MakeControlTone(50, 100, false);
    EXPECT_NE(treadmill, elliptical);
    expectImage(elliptical, EncodeCommand("Elliptical", 50, 100), false, "elliptical");
}

TEST_F(ControlTonesTest, EveryMachineTypeOverAWideGridMonoAndStereo)
{
    std::vector<int> firsts, seconds;
    for (int v = 0; v <= 130; v += 5)
        firsts.push_back(v);
    for (int v = 0; v <= 510; v += 7)
        seconds.push_back(v);
    for (int v : {-1, 1, 9, 10, 11, 65, 245, 252, 255, 256, 1000})
        firsts.push_back(v);
    for (int v : {-1, 1, 145, 147, 150, 252, 400, 500, 505, 1000})
        seconds.push_back(v);

    for (bool stereo : {false, true}) {
        tones.BuildToneBlocks(stereo);
        for (const QString& type : kMachineTypes) {
            machine.setMachineType(type);
            for (int a : firsts)
                for (int b : seconds) {
                    const auto fa = static_cast<std::int16_t>(a);
                    const auto fb = static_cast<std::int16_t>(b);
                    expectImage(tones.MakeControlTone(fa, fb, stereo), EncodeCommand(type, fa, fb), stereo,
                                QStringLiteral("%1 %2,%3 %4")
                                    .arg(type)
                                    .arg(a)
                                    .arg(b)
                                    .arg(stereo ? "stereo" : "mono")
                                    .toStdString());
                    if (HasFatalFailure())
                        return;
                }
        }
    }
}

TEST_F(ControlTonesTest, AMismatchedFlagStillGivesAWholeImage)
{
    ASSERT_FALSE(tones.stereo());
    const QByteArray stereo = tones.MakeControlTone(65, 45, true);
    expectImage(stereo, EncodeCommand("Treadmill", 65, 45), true, "stereo from a mono set");
    EXPECT_EQ(word(stereo, 22), 2);
    EXPECT_TRUE(tones.stereo());
}
