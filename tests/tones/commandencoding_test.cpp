#include "tones/commandencoding.h"

#include "testenv.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kntr;

namespace {

const QStringList kMachineTypes = {"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"};

struct EncodingCase {
    const char* machine;
    std::int16_t first, second;
    std::int16_t adjustedFirst, adjustedSecond;
    const char* frames[3];
};

// The frame loop as the consoles' documentation writes it, for values of 1 or more:
// append value mod 2 while the value is not 1, then the final "1", cut or fill to 10.
QString loopFrame(int value)
{
    QString f = "01";
    while (value != 1) {
        f += QString::number(value % 2);
        value /= 2;
    }
    f += "1";
    return f.left(10).leftJustified(10, '0');
}

// The adjustment rules written out independently of the encoder.
std::pair<int, int> referenceAdjust(const QString& type, int a, int b)
{
    if (a != 252 && b != 252) {
        if (type == "Elliptical") {
            const int incline = b;
            b = a;
            a = static_cast<int>(std::lround(incline / 5.0)); // never a tie: k/5 ends in .0/.2/.4/.6/.8
        } else if (type == "Elliptical Type A") {
            if (a == 10) {
                a = 245;
            } else {
                const int half = a / 2; // rounds toward zero
                a = (a % 2 == 0) ? half : (half % 2 == 0 ? half : half + (a > 0 ? 1 : -1));
            }
        }
    }
    if (b == 0)
        b = 245;
    else if (b >= 145 && b <= 500 && b % 5 == 0)
        b = (b - 140) / 5 + 140;
    return {a, b};
}

} // namespace

TEST(CommandBits, FramesOfTheDocumentedValues)
{
    EXPECT_EQ(CommandBits("01", 10), "0101010000");
    EXPECT_EQ(CommandBits("01", 45), "0110110100");
    EXPECT_EQ(CommandBits("01", 65), "0110000010");
    EXPECT_EQ(CommandBits("01", 110), "0101110110");
    EXPECT_EQ(CommandBits("01", 252), "0100111111");
    EXPECT_EQ(CommandBits("01", 312), "0100011100") << "only the low 8 bits (56) are sent";
}

TEST(CommandBits, AgreesWithTheFrameLoopForEveryValueItEndsFor)
{
    for (int v = 1; v <= 40000; ++v)
        ASSERT_EQ(CommandBits("01", v), loopFrame(v)) << v;
}

TEST(CommandBits, ZeroAndNegativeValuesSendTheirLowEightBits)
{
    // The frame loop never ends for these; the encoder must still return a frame.
    EXPECT_EQ(CommandBits("01", 0), "0100000000");
    EXPECT_EQ(CommandBits("01", 256), "0100000000");
    EXPECT_EQ(CommandBits("01", -1), "0111111111");
    EXPECT_EQ(CommandBits("01", -2), "0101111111");
    EXPECT_EQ(CommandBits("01", -256), "0100000000");
    EXPECT_EQ(CommandBits("01", -32768), "0100000000");
}

TEST(EncodeCommand, DocumentedCommands)
{
    const EncodingCase cases[] = {
        {"Treadmill", 65, 45, 65, 45, {"0110000010", "0110110100", "0101110110"}},
        {"Treadmill", 120, 400, 120, 192, {"0100011110", "0100000011", "0100011100"}},
        {"Treadmill", 30, 150, 30, 142, {"0101111000", "0101110001", "0100110101"}},
        {"Treadmill", 30, 147, 30, 147, {"0101111000", "0111001001", "0110001101"}},
        {"Elliptical", 50, 100, 20, 50, {"0100101000", "0101001100", "0101100010"}},
        {"Elliptical Type A", 65, 0, 32, 245, {"0100000100", "0110101111", "0110101000"}},
        {"Treadmill", 10, 10, 10, 10, {"0101010000", "0101010000", "0100101000"}},
    };
    for (const EncodingCase& c : cases) {
        std::int16_t a = c.first, b = c.second;
        AdjustCommand(c.machine, a, b);
        EXPECT_EQ(a, c.adjustedFirst) << c.machine << ' ' << c.first << ',' << c.second;
        EXPECT_EQ(b, c.adjustedSecond) << c.machine << ' ' << c.first << ',' << c.second;
        const CommandFrames f = EncodeCommand(c.machine, c.first, c.second);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(f[i], c.frames[i]) << c.machine << ' ' << c.first << ',' << c.second;
    }
}

TEST(EncodeCommand, StopCommandIsTheSameForEveryMachineType)
{
    for (const QString& type : kMachineTypes + QStringList{"Rowing machine", ""}) {
        std::int16_t a = 252, b = 252;
        AdjustCommand(type, a, b);
        EXPECT_EQ(a, 252) << type.toStdString();
        EXPECT_EQ(b, 252) << type.toStdString();
        const CommandFrames f = EncodeCommand(type, 252, 252);
        EXPECT_EQ(f[0], "0100111111");
        EXPECT_EQ(f[1], "0100111111");
        EXPECT_EQ(f[2], "0100011111") << "504, low 8 bits 248";
    }
}

TEST(AdjustCommand, SecondValueMapping)
{
    const std::pair<int, int> mapping[] = {
        {0, 245},   {1, 1},     {140, 140}, {144, 144}, {145, 141}, {150, 142}, {147, 147},
        {200, 152}, {400, 192}, {500, 212}, {501, 501}, {505, 505}, {245, 161}, {-5, -5},
    };
    for (auto [in, out] : mapping) {
        std::int16_t a = 30, b = static_cast<std::int16_t>(in);
        AdjustCommand("Treadmill", a, b);
        EXPECT_EQ(b, out) << in;
        EXPECT_EQ(a, 30);
    }
    std::int16_t a = 0, b = 0;
    AdjustCommand("Treadmill", a, b);
    EXPECT_EQ(a, 0) << "a first value of 0 is not mapped";
    EXPECT_EQ(b, 245);
}

TEST(AdjustCommand, EllipticalTypesAndExactTypeNames)
{
    std::int16_t a = 65, b = 0;
    AdjustCommand("Elliptical Type A", a, b);
    EXPECT_EQ(a, 32);
    a = 75, b = 10;
    AdjustCommand("Elliptical Type A", a, b);
    EXPECT_EQ(a, 38);
    a = 25, b = 10;
    AdjustCommand("Elliptical Type A", a, b);
    EXPECT_EQ(a, 12);
    a = 10, b = 10;
    AdjustCommand("Elliptical Type A", a, b);
    EXPECT_EQ(a, 245);
    EXPECT_EQ(b, 10);

    // The incline goes first (÷ 5), the resistance second and then through the mapping.
    a = 150, b = 12;
    AdjustCommand("Elliptical", a, b);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 142);
    a = 120, b = 1; // an incline under 0.25 % leaves a first value of 0
    AdjustCommand("Elliptical", a, b);
    EXPECT_EQ(a, 0);
    EXPECT_EQ(EncodeCommand("Elliptical", 120, 1)[0], "0100000000");

    // Only the exact names count.
    a = 50, b = 100;
    AdjustCommand("elliptical", a, b);
    EXPECT_EQ(a, 50);
    EXPECT_EQ(b, 100);
    // One 252 is enough to skip the swap.
    a = 252, b = 100;
    AdjustCommand("Elliptical", a, b);
    EXPECT_EQ(a, 252);
    EXPECT_EQ(b, 100);
}

TEST(EncodeCommand, MatchesAnIndependentReferenceOverAWideGrid)
{
    for (const QString& type : kMachineTypes + QStringList{"Other"}) {
        for (int a = -20; a <= 600; a += (a < 150 ? 1 : 7)) {
            for (int b = -20; b <= 600; b += (b < 160 ? 1 : 4)) {
                const auto [ra, rb] = referenceAdjust(type, a, b);
                const int check = static_cast<std::int16_t>(ra + rb);
                const CommandFrames f =
                    EncodeCommand(type, static_cast<std::int16_t>(a), static_cast<std::int16_t>(b));
                const auto frame = [](int v) {
                    const int low = v & 0xFF;
                    return low == 0 ? QString("0100000000") : loopFrame(low);
                };
                ASSERT_EQ(f[0], frame(ra)) << type.toStdString() << ' ' << a << ',' << b;
                ASSERT_EQ(f[1], frame(rb)) << type.toStdString() << ' ' << a << ',' << b;
                ASSERT_EQ(f[2], frame(check)) << type.toStdString() << ' ' << a << ',' << b;
            }
        }
    }
}

TEST(EncodeCommand, CheckValueWrapsAsASixteenBitSum)
{
    const CommandFrames f = EncodeCommand("Treadmill", 32767, 100);
    EXPECT_EQ(f[2], CommandBits("01", (32767 + 100) & 0xFF));
}
