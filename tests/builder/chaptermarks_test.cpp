// kinetrova-cli wav|mp3 --chapters: chapter marks as a player (ffprobe) and
// kinetrova-cli decode read them, and the files otherwise as without them.

#include "../app/clirun.h"

#include "builder/recordingpreferences.h"
#include "builder/tonefiledecoder.h"
#include "model/storedsettings.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"

#include "testenv.h"
#include "testmusic.h"

#include <QProcess>
#include <QtEndian>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;
using namespace kntr::test;

namespace {

struct Chapter {
    double seconds;
    QString title;
};

class ChapterMarksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* machine : {"Treadmill", "Bike"})
            ASSERT_TRUE(
                writeFile(mDir.filePath(QLatin1String(machine) + ".txt"),
                          QByteArray("Vexa v 1.2                \r\n\r\n[machine settings]\r\n") + machine
                              + "\r\nKilos\r\n10\r\n100\r\n1\r\n0\r\n100\r\n5\r\n\r\n[segment "
                                "settings]\r\n1\t3\t1\t30\r\n2\t6\t2.5\t12\r\n\r\n[playlist]\r\n\r\n"));
    }
    CliRun run(const QStringList& args) { return runCliCaptured(args, mSettings, mPaths); }
    QString path(const QString& name) const { return mDir.filePath(name); }

    /// The chapters ffprobe finds, and the file's title in title.
    static std::vector<Chapter> probe(const QString& file, QString* title = nullptr)
    {
        QProcess p;
        p.start(
            QStringLiteral("ffprobe"),
            {"-v", "error", "-show_chapters", "-show_entries", "format_tags=title", "-of", "compact", file});
        p.waitForFinished(30000);
        std::vector<Chapter> chapters;
        for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n')) {
            const QStringList fields = line.split('|');
            const auto field = [&](const QString& key) {
                for (const QString& f : fields)
                    if (f.startsWith(key + '='))
                        return f.mid(key.size() + 1);
                return QString();
            };
            if (fields.first() == QLatin1String("chapter"))
                chapters.push_back({field("start_time").toDouble(), field("tag:title")});
            else if (fields.first() == QLatin1String("format") && title)
                *title = field("tag:title");
        }
        return chapters;
    }

    QTemporaryDir mDir;
    MemorySettingsStore mSettings;
    AppPaths mPaths{QStringLiteral(KNTR_VOICECUE_DIR "/.."), QStringLiteral("/user")};
};

TEST_F(ChapterMarksTest, EachSegmentIsAChapterFromItsCueOrToneOnAsDecodeAndPlayersReadThem)
{
    // A player's reading, where ffprobe is installed (scripts/install-deps --extras).
    const bool player = !QStandardPaths::findExecutable(QStringLiteral("ffprobe")).isEmpty();
    struct Case {
        const char* workout;
        const char* type;
        QStringList args;
        QStringList titles;
    } cases[] = {
        {"Treadmill",
         "mp3",
         {"--cues", "off"},
         {"Segment 1 \u2014 4.8 km/h, 1 %", "Segment 2 \u2014 9.7 km/h, 2.5 %"}},
        {"Treadmill",
         "mp3",
         {"--units", "miles", "--cues", "on"},
         {"Segment 1 \u2014 3 mph, 1 %", "Segment 2 \u2014 6 mph, 2.5 %"}},
        {"Bike",
         "wav",
         {"--units", "miles", "--cues", "off", "--mono"},
         {"Segment 1 \u2014 3 mph, resistance 1", "Segment 2 \u2014 6 mph, resistance 2.5"}},
        {"Treadmill",
         "wav",
         {"--cues", "on", "--beeps", "2"},
         {"Segment 1 \u2014 4.8 km/h, 1 %", "Segment 2 \u2014 9.7 km/h, 2.5 %"}},
    };
    for (const Case& c : cases) {
        const QString name = QLatin1String(c.workout) + ' ' + c.args.join(' ');
        SCOPED_TRACE(name.toStdString());
        const QString workout = path(QLatin1String(c.workout) + ".txt");
        const QString plain = path(QStringLiteral("plain.") + c.type);
        const QString marked = path(QStringLiteral("marked.") + c.type);
        ASSERT_EQ(run(QStringList{c.type, workout, "-o", plain} + c.args).status, 0);
        const CliRun built = run(QStringList{c.type, workout, "-o", marked, "--chapters"} + c.args);
        ASSERT_EQ(built.status, 0) << built.err.toStdString();

        // decode lists each mark before the command heard from its start on.
        const QStringList lines = run({"decode", marked}).out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 5);
        std::vector<Chapter> chapters;
        for (int k = 0; k < 2; ++k) {
            const QString& line = lines[2 * k];
            ASSERT_EQ(line.mid(9, 11), "  chapter  ") << line.toStdString();
            EXPECT_EQ(line.mid(20), c.titles[k]);
            chapters.push_back({line.left(9).toDouble(), line.mid(20)});
        }
        if (player) {
            QString title;
            const std::vector<Chapter> probed = probe(marked, &title);
            EXPECT_EQ(title, c.type == QLatin1String("mp3") ? QString(c.workout) : QString());
            ASSERT_EQ(probed.size(), 2u);
            for (size_t k = 0; k < probed.size(); ++k) {
                EXPECT_NEAR(probed[k].seconds, chapters[k].seconds, 0.001);
                EXPECT_EQ(probed[k].title, chapters[k].title);
            }
        }

        // The tones are where they are without the marks, as Verify finds them.
        const auto tones = ToneFileDecoder::decode(marked);
        ASSERT_TRUE(tones);
        ASSERT_EQ(tones->size(), 3u);
        const auto heard = [](const std::vector<DecodedCommand>& commands) {
            QStringList lines;
            for (const DecodedCommand& d : commands)
                lines << QString::asprintf("%.3f %d %d %d", d.seconds, d.first, d.second, int(d.clean()));
            return lines;
        };
        EXPECT_EQ(heard(*tones),
                  heard(ToneFileDecoder::decode(plain).value_or(std::vector<DecodedCommand>{})));
        const bool cues = c.args.contains("on");
        for (size_t k = 0; k < chapters.size(); ++k) {
            // From the get-ready clip before the tone, or the tone itself (an MP3
            // decoder hears it a frame or two into its first frame).
            const double lead = (*tones)[k].seconds - chapters[k].seconds;
            if (cues) {
                EXPECT_TRUE(lead > 0.5 && lead < 3) << lead;
            } else {
                EXPECT_TRUE(lead >= 0 && lead < 0.06) << lead;
            }
        }

        // The marks are added to the file as it is without them: a tag in front,
        // chunks after the data that the RIFF size covers.
        const QByteArray without = readWhole(plain);
        const QByteArray with = readWhole(marked);
        if (c.type == QLatin1String("mp3")) {
            EXPECT_TRUE(with.startsWith("ID3\x04"));
            EXPECT_TRUE(with.endsWith(without));
        } else {
            EXPECT_EQ(with.first(4), without.first(4));
            EXPECT_EQ(with.mid(8, without.size() - 8), without.mid(8));
            EXPECT_EQ(qFromLittleEndian<quint32>(with.constData() + 4), with.size() - 8);
        }
    }
}

TEST_F(ChapterMarksTest, TheStoredPreferenceMarksFilesAndIsStoredOnlyOnceTurnedOn)
{
    RecordingPreferences preferences = RecordingPreferences::read(mSettings);
    EXPECT_FALSE(preferences.chapters);
    preferences.save(mSettings);
    EXPECT_EQ(RecordingSettings(mSettings).chapterMarksText("unset"), "unset");
    preferences.chapters = true;
    preferences.save(mSettings);
    EXPECT_TRUE(RecordingPreferences::read(mSettings).chapters);

    ASSERT_EQ(run({"mp3", path("Treadmill.txt"), "-o", path("stored.mp3"), "--cues", "off"}).status, 0);
    EXPECT_TRUE(readWhole(path("stored.mp3")).startsWith("ID3"));
    ASSERT_EQ(run({"wav", path("Treadmill.txt"), "-o", path("stored.wav"), "--cues", "off"}).status, 0);
    EXPECT_TRUE(readWhole(path("stored.wav")).contains("adtllabl"));
}

} // namespace
