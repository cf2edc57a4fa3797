#include "tones/voicecues.h"

#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

// A clip of the given length: 16-bit mono at 22,050 Hz.
QByteArray clip(int ms)
{
    const quint32 data = 22050 * ms / 1000 * 2;
    QByteArray h("RIFF....WAVEfmt ", 16);
    qToLittleEndian<quint32>(data + 36, h.data() + 4);
    const auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        h.append(b, 4);
    };
    const auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        h.append(b, 2);
    };
    u32(16);
    u16(1);
    u16(1);
    u32(22050);
    u32(44100);
    u16(2);
    u16(16);
    h.append("data", 4);
    u32(data);
    return h + QByteArray(static_cast<int>(data), '\x01');
}

class VoiceCuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStringList words{"getready", "POINT", "Speed"};
        for (int n = 0; n <= 12; ++n)
            words << QString::number(n);
        for (const QString& w : words) {
            QFile f(QDir(dir.path()).filePath(w + (w == "Speed" ? ".WAV" : ".wav")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(clip(w == "POINT" ? 300 : 400));
        }
    }

    void TearDown() override { QLocale::setDefault(savedLocale); }

    QStringList spoken(const QString& number) { return VoiceCues::numberWords(number); }

    QLocale savedLocale;
    QTemporaryDir dir;
    VoiceCues cues{dir.path()};
};

} // namespace

TEST_F(VoiceCuesTest, NumbersAreSpokenFromSingleWordClips)
{
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(spoken("10"), QStringList({"10", "point", "0"}));
    EXPECT_EQ(spoken("13.0"), QStringList({"1", "3", "point", "0"}));
    EXPECT_EQ(spoken("12.9"), QStringList({"12", "point", "9"}));
    EXPECT_EQ(spoken("12.0"), QStringList({"12", "point", "0"}));
    EXPECT_EQ(spoken("6.5"), QStringList({"6", "point", "5"}));
    EXPECT_EQ(spoken("0.5"), QStringList({"0", "point", "5"}));
    EXPECT_EQ(spoken("14.5"), QStringList({"1", "4", "point", "5"}));
    EXPECT_EQ(spoken("19.3"), QStringList({"1", "9", "point", "3"}));
    // Cases the editing boxes never show: three digits, several decimals.
    EXPECT_EQ(spoken("123.4"), QStringList({"1", "2", "point", "4"}));
    EXPECT_EQ(spoken("1.25"), QStringList({"1", "point", "5"}));
}

TEST_F(VoiceCuesTest, TheSystemSeparatorDecides)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(spoken("6,5"), QStringList({"6", "point", "5"}));
    EXPECT_EQ(spoken("10"), QStringList({"10", "point", "0"}));
    EXPECT_EQ(spoken("15,5"), QStringList({"1", "5", "point", "5"}));
}

TEST_F(VoiceCuesTest, ClipsAreFoundWithoutRegardToCase)
{
    EXPECT_EQ(cues.clipPath("point"), QDir(dir.path()).filePath("POINT.wav"));
    EXPECT_EQ(cues.clipPath("speed"), QDir(dir.path()).filePath("Speed.WAV"));
    EXPECT_EQ(cues.clipPath("GETREADY"), QDir(dir.path()).filePath("getready.wav"));
    EXPECT_EQ(cues.clipPath("Incline"), QDir(dir.path()).filePath("Incline.wav"));
}
