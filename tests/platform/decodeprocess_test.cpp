// The decoding helper as its callers meet it: whatever the helper does (crash,
// hang, babble, run out of CPU time), the caller gets a short reason, never a
// crash or a wait without end.

#include "platform/decodeprocess.h"
#include "platform/wavimage.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

const QString kHelper = QStringLiteral(KNTR_DECODE_EXE);

/// The header of an 8-bit mono PCM WAV file: nothing our own reader takes, so the decoder's work.
QByteArray byteWavHeader(int rate, quint32 dataBytes)
{
    QByteArray header = WavImage::header(1, rate, dataBytes);
    qToLittleEndian<quint32>(rate, header.data() + 28); // bytes a second
    qToLittleEndian<quint16>(1, header.data() + 32); // bytes a frame
    qToLittleEndian<quint16>(8, header.data() + 34); // bits a sample
    return header;
}

class DecodeProcessTest : public ::testing::Test {
protected:
    /// A stand-in helper: a shell script of body.
    QString script(const QString& name, const QByteArray& body)
    {
        const QString path = mDir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\n" + body + "\n");
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

    QTemporaryDir mDir;
};

TEST_F(DecodeProcessTest, EveryWayAHelperCanFailBecomesAShortReason)
{
    // Three hours of 8 kHz mono: far more decoding than one second of CPU allows.
    const QString longWav = mDir.filePath("long.wav");
    QFile f(longWav);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const quint32 bytes = 8000 * 3 * 3600;
    const QByteArray header = byteWavHeader(8000, bytes);
    f.write(header);
    ASSERT_TRUE(f.resize(header.size() + bytes)); // sparse: takes no room
    f.close();

    struct Case {
        const char* name;
        QString program;
        int cpuSeconds;
        QString reason;
    };
    const Case cases[] = {
        {"crashes", script("crash", "kill -SEGV $$"), 0, "the decoder crashed"},
        {"hangs", script("hang", "exec sleep 30"), 0, "the decoder ran out of time"},
        {"babbles", script("babble", "printf 'zzzzzzzzzzzz'; exec sleep 30"), 0,
         "the decoder gave output that cannot be read"},
        {"stops early", script("stop", "exit 7"), 0, "the decoder stopped before the end (status 7)"},
        {"is missing", mDir.filePath("none"), 0, "the decoder could not be started"},
        {"runs out of CPU time", kHelper, 1, "the decoder ran out of time"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodeProcess helper(c.program);
        helper.setSilenceLimit(1000);
        helper.setCpuLimit(c.cpuSeconds);
        qint64 samples = 0;
        QString error;
        QElapsedTimer timer;
        timer.start();
        EXPECT_FALSE(helper.read(
            longWav, [&](const float*, qsizetype count) { return (samples += count) >= 0; }, &error));
        EXPECT_EQ(error, c.reason);
        EXPECT_LT(timer.elapsed(), 8000);
    }
}

TEST_F(DecodeProcessTest, TheRealHelperDecodesAndStopsWhenTheReaderHasEnough)
{
    const QString path = mDir.filePath("short.wav");
    const QByteArray image = byteWavHeader(22050, 22050);
    QByteArray samples(22050, '\x80');
    for (int i = 0; i < samples.size(); i += 2)
        samples[i] = '\xc0'; // a square wave at half the rate: a quarter of full scale
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(image + samples);
    f.close();

    DecodeProcess helper(kHelper);
    std::vector<float> heard;
    std::vector<int> percents;
    QString error;
    ASSERT_TRUE(helper.read(
        path,
        [&](const float* s, qsizetype n) {
            heard.insert(heard.end(), s, s + n);
            return true;
        },
        &error, [&](int percent) { percents.push_back(percent); }))
        << error.toStdString();
    EXPECT_NEAR(static_cast<double>(heard.size()), 44100, 2000);
    float peak = 0;
    for (float s : heard)
        peak = std::max(peak, std::abs(s));
    EXPECT_GT(peak, 0.2f);
    EXPECT_LT(peak, 0.6f);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));

    qint64 taken = 0;
    EXPECT_TRUE(helper.read(
        path,
        [&](const float*, qsizetype n) {
            taken += n;
            return false;
        },
        &error));
    EXPECT_GT(taken, 0);
}

TEST_F(DecodeProcessTest, AnMp3WithoutItsLengthStillReportsProgress)
{
    // lame -t writes no information frame: the decoder is given no length.
    const QString lame = QStandardPaths::findExecutable(QStringLiteral("lame"));
    if (lame.isEmpty())
        GTEST_SKIP() << "the lame encoder is not installed";
    const QString wav = mDir.filePath("tone.wav");
    const QString mp3 = mDir.filePath("tone.mp3");
    QFile f(wav);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const int seconds = 20;
    f.write(WavImage::header(2, 44100, 4u * 44100 * seconds));
    QByteArray samples(4 * 44100 * seconds, '\0');
    for (int i = 0; i < 44100 * seconds; ++i) {
        const auto v = static_cast<qint16>(8000 * std::sin(i * 2 * M_PI * 440 / 44100));
        qToLittleEndian<qint16>(v, samples.data() + 4 * i);
        qToLittleEndian<qint16>(v, samples.data() + 4 * i + 2);
    }
    f.write(samples);
    f.close();
    ASSERT_EQ(QProcess::execute(lame, {"--quiet", "-t", "-b", "128", wav, mp3}), 0);

    std::vector<int> percents;
    QString error;
    ASSERT_TRUE(DecodeProcess(kHelper).read(
        mp3, [](const float*, qsizetype) { return true; }, &error,
        [&](int percent) { percents.push_back(percent); }))
        << error.toStdString();
    ASSERT_FALSE(percents.empty());
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_GE(percents.back(), 95);
}

} // namespace
