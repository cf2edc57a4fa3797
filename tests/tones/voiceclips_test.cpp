// The voice-cue clips shipped in the program data.

#include "platform/wavimage.h"
#include "tones/voicecues.h"

#include "testenv.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace kntr;

TEST(VoiceClips, EveryWordHasAShortTrimmedClipIn22kHzMono16Bit)
{
    VoiceCues cues(QStringLiteral(KNTR_VOICECUE_DIR));
    QStringList words{"getready", "endofworkout", "Speed", "Incline", "Resistance", "point"};
    for (int n = 0; n <= 12; ++n)
        words << QString::number(n);

    for (const QString& word : words) {
        const QString path = cues.clipPath(word);
        ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const std::optional<WavImage> wav = WavImage::parse(bytes);
        ASSERT_TRUE(wav) << word.toStdString();
        EXPECT_EQ(wav->channels, 1);
        EXPECT_EQ(wav->sampleRate, 22050);
        EXPECT_EQ(wav->bitsPerSample, 16);
        EXPECT_EQ(bytes.indexOf("data"), 36) << "a plain 44-byte header";
        EXPECT_GT(wav->durationUs(), 200000) << word.toStdString();
        EXPECT_LT(wav->durationUs(), 1500000) << word.toStdString();

        // Trimmed: sound within the first and the last 20 ms.
        const auto loudest = [&](qsizetype from, qsizetype count) {
            int peak = 0;
            for (qsizetype i = from; i < from + count; ++i) {
                const qint16 s = static_cast<qint16>(static_cast<quint8>(wav->samples[2 * i])
                                                     | (wav->samples[2 * i + 1] << 8));
                peak = std::max(peak, std::abs(static_cast<int>(s)));
            }
            return peak;
        };
        const qsizetype frames = wav->frames();
        EXPECT_GT(loudest(0, 441), 30) << word.toStdString() << " starts with silence";
        EXPECT_GT(loudest(frames - 441, 441), 30) << word.toStdString() << " ends with silence";
        EXPECT_GT(loudest(0, frames), 16000) << word.toStdString() << " is too quiet";
    }
}
