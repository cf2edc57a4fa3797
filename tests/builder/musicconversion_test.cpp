// kinetrova-cli wav and mp3 with --convert-music: music the check turns down,
// made by sox and lame as users' music is, converted once into the cache
// folder, built, and its tones and music heard in the file.

#include "../app/clirun.h"

#include "builder/musicconversion.h"
#include "builder/tonefiledecoder.h"
#include "files/asxplaylist.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"

#include "testmusic.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

using namespace kntr;
using namespace kntr::test;

namespace {

class MusicConversionCli : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSox = QStandardPaths::findExecutable(QStringLiteral("sox"));
        mLame = QStandardPaths::findExecutable(QStringLiteral("lame"));
        mFfmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        if (mSox.isEmpty() || mLame.isEmpty() || mFfmpeg.isEmpty())
            GTEST_SKIP() << "sox, lame or ffmpeg is not installed";
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char name[] = "builder_tests";
            static char* argv[] = {name, nullptr};
            static QCoreApplication app(argc, argv);
        }
        ASSERT_TRUE(writeFile(file("w.txt"),
                              "Vexa v 1.2                \r\n\r\n[machine settings]\r\nTreadmill\r\n"
                              "Kilos\r\n10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n[segment settings]\r\n"
                              "1\t3\t1\t30\r\n2\t6\t2.5\t12\r\n\r\n[playlist]\r\n\r\n\r\n\r\n"));
    }
    QString file(const QString& name) const { return mDir.filePath(name); }
    CliRun run(const QStringList& args) { return runCliCaptured(args, mSettings, mPaths); }

    /// 20 seconds of a 440 Hz tone at rate Hz on channels, as name: sox makes
    /// it, and lame encodes it with lameArgs when name ends in .mp3.
    void makeMusic(const QString& name, int rate, int channels, const QStringList& lameArgs = {})
    {
        const bool mp3 = name.endsWith(QLatin1String(".mp3"));
        const QString made = mp3 ? file(name + ".wav") : file(name);
        ASSERT_EQ(QProcess::execute(mSox,
                                    {"-n", "-r", QString::number(rate), "-c", QString::number(channels), made,
                                     "synth", "20", "sine", "440", "vol", "0.5"}),
                  0);
        if (mp3) {
            ASSERT_EQ(
                QProcess::execute(mLame, QStringList{"--quiet"} + lameArgs + QStringList{made, file(name)}),
                0);
        }
    }
    /// The cache folder's files with their modification times.
    std::map<QString, QDateTime> cached() const
    {
        std::map<QString, QDateTime> out;
        const QDir dir(mDir.filePath("cache/kinetrova/music"));
        for (const QFileInfo& info : dir.entryInfoList(QDir::Files | QDir::Hidden))
            out[info.fileName()] = info.lastModified();
        return out;
    }
    /// The left channel of a built file as 16-bit samples, decoded by ffmpeg,
    /// which finds no frame reaching for main data before a splice.
    QByteArray leftChannel(const QString& path) const
    {
        QProcess p;
        p.start(mFfmpeg, {"-nostdin", "-v", "verbose", "-i", path, "-f", "s16le", "-ac", "2", "-"});
        p.waitForFinished(60000);
        EXPECT_FALSE(p.readAllStandardError().contains("overread"));
        const QByteArray pcm = p.readAllStandardOutput();
        QByteArray left;
        for (qsizetype i = 0; i + 4 <= pcm.size(); i += 4)
            left += pcm.mid(i, 2);
        return left;
    }

    QTemporaryDir mDir;
    MemorySettingsStore mSettings;
    AppPaths mPaths{QStringLiteral(KNTR_VOICECUE_DIR "/.."), QStringLiteral("/user"),
                    mDir.filePath("cache/kinetrova")};
    QString mSox, mLame, mFfmpeg;
};

TEST_F(MusicConversionCli, TurnedDownMusicIsConvertedOnceAndPlaysUnderTheTones)
{
    const struct {
        const char* name;
        int rate, channels;
        QStringList lameArgs;
    } sources[] = {
        {"vbr.mp3", 44100, 2, {"-V", "2"}},
        {"48k.mp3", 48000, 2, {"-b", "128"}},
        {"mono22.flac", 22050, 1, {}},
        {"song.ogg", 44100, 2, {}},
    };
    // The commands the workout sends (first and second value), and when they
    // come: in an MP3 file, where they come with music that needs no conversion.
    const int sent[][2] = {{30, 10}, {60, 25}, {252, 252}};
    std::map<QString, std::vector<double>> seconds{{"wav", {5.0, 35.0, 47.0}}};
    makeMusic("cbr.mp3", 44100, 2, {"-b", "128"});
    ASSERT_EQ(run({"mp3", file("w.txt"), "-o", file("cbr-out.mp3"), "--music", file("cbr.mp3")}).status, 0);
    for (const DecodedCommand& command :
         ToneFileDecoder::decode(file("cbr-out.mp3")).value_or(std::vector<DecodedCommand>{}))
        seconds["mp3"].push_back(command.seconds);
    ASSERT_EQ(seconds["mp3"].size(), 3u);
    for (const auto& source : sources) {
        makeMusic(source.name, source.rate, source.channels, source.lameArgs);
        for (const char* type : {"wav", "mp3"}) {
            SCOPED_TRACE(::testing::Message() << source.name << " in " << type);
            const QString out = file(QStringLiteral("out.") + type);
            const QStringList args{
                type, file("w.txt"), "-o", out, "--music", file(source.name), "--convert-music"};
            const CliRun first = run(args);
            ASSERT_EQ(first.status, 0) << first.err.toStdString();
            EXPECT_TRUE(first.err.contains("converting " + file(source.name))) << first.err.toStdString();
            const auto copies = cached();

            const auto found = ToneFileDecoder::decode(out);
            ASSERT_TRUE(found);
            ASSERT_EQ(found->size(), 3u);
            for (size_t i = 0; i < 3; ++i) {
                EXPECT_NEAR((*found)[i].seconds, seconds[type][i], 0.03) << i;
                EXPECT_EQ((*found)[i].first, sent[i][0]) << i;
                EXPECT_EQ((*found)[i].second, sent[i][1]) << i;
                EXPECT_TRUE((*found)[i].clean()) << i;
            }
            // Between the cues the music plays at its own pitch: 880 sign changes a second.
            const QByteArray left = leftChannel(out);
            ASSERT_GT(left.size(), 2 * 20 * 44100);
            const auto* samples = reinterpret_cast<const qint16*>(left.constData());
            int changes = 0;
            double power = 0;
            for (qsizetype i = 15 * 44100; i < 16 * 44100; ++i) {
                changes += (samples[i] < 0) != (samples[i + 1] < 0);
                power += double(samples[i]) * samples[i];
            }
            EXPECT_NEAR(changes, 880, 4);
            EXPECT_GT(std::sqrt(power / 44100), 1000.0);

            // A rebuild finds the copy and converts nothing.
            const CliRun again = run(args);
            ASSERT_EQ(again.status, 0) << again.err.toStdString();
            EXPECT_EQ(again.err, "");
            EXPECT_EQ(cached(), copies);
        }
    }
    EXPECT_EQ(cached().size(), 8u);

    // Play-list entries of any audio kind are converted too: here the copies made above.
    ASSERT_TRUE(AsxPlayList::write(file("list.asx"), {"mono22.flac", file("song.ogg")}));
    const CliRun listed =
        run({"mp3", file("w.txt"), "-o", file("out.mp3"), "--playlist", file("list.asx"), "--convert-music"});
    EXPECT_EQ(listed.status, 0) << listed.err.toStdString();
    EXPECT_EQ(listed.err, "");
    EXPECT_EQ(cached().size(), 8u);
}

TEST_F(MusicConversionCli, WithoutTheFlagOrWithUndecodableMusicNothingIsWritten)
{
    makeMusic("vbr.mp3", 44100, 2, {"-V", "2"});
    ASSERT_TRUE(writeFile(file("noise.ogg"), QByteArray(20000, '\x5a')));
    ASSERT_TRUE(writeFile(file("cut.flac"), QByteArray("fLaC") + QByteArray(60, '\0')));
    const struct {
        const char* type;
        QStringList args;
        const char* err; // the start of stderr after the command's name
    } cases[] = {
        {"mp3", {"--music", file("vbr.mp3")}, "%1:\nKinetrova requires MP3 files"},
        {"wav", {"--music", file("noise.ogg"), "--convert-music"}, "%1 could not be read as audio: "},
        {"mp3", {"--music", file("cut.flac"), "--convert-music"}, "%1 could not be read as audio: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const QString out = file(QStringLiteral("out.") + c.type);
        const CliRun r = run(QStringList{c.type, file("w.txt"), "-o", out} + c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.contains(QStringLiteral(": ") + QString::fromUtf8(c.err).arg(c.args[1])))
            << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(out));
        EXPECT_TRUE(cached().empty());
    }
}

TEST(MusicCache, TrimKeepsTheNewestCopiesUpToTheLimitAndEveryCopyInUse)
{
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct {
        QString name;
        int hoursOld;
        bool inUse, kept;
    } files[] = {
        {QString(40, 'a') + ".mp3", 1, false, true}, // newest: within the limit
        {QString(40, 'b') + ".wav", 2, true, true},
        {QString(40, 'c') + ".mp3", 3, false, false}, // over the limit
        {QString(40, 'd') + ".mp3", 4, true, true}, // over the limit but in use
        {QString(40, 'e') + ".wav", 5, false, false},
        {QString(40, 'f') + ".mp3.AbCdEf", 48, false, false}, // an interrupted conversion's leftover
        {QString(40, 'f') + ".mp3.GhIjKl", 0, false, true}, // a conversion under way
    };
    QStringList inUse;
    for (const auto& f : files) {
        const QString path = dir.filePath(f.name);
        ASSERT_TRUE(writeFile(path, QByteArray(400, 'x')));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(now.addSecs(-3600 * f.hoursOld), QFileDevice::FileModificationTime);
        if (f.inUse)
            inUse << path;
    }
    MusicConversion(dir.path(), {}, 1000).trim(inUse);
    for (const auto& f : files)
        EXPECT_EQ(QFile::exists(dir.filePath(f.name)), f.kept) << f.name.toStdString();
}

} // namespace
