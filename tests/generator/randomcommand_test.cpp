// kinetrova-cli random: reproducible workout files, options over the stored
// parameters, and refused values.

#include "../app/clirun.h"
#include "files/textfile.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;
using test::CliRun;

namespace {

class RandomCommandTest : public ::testing::Test {
protected:
    CliRun run(QStringList args)
    {
        args.prepend(QStringLiteral("random"));
        return test::runCliCaptured(args, settings, paths);
    }
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QByteArray contents(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    /// The segment lines of a written workout: speed, incline, seconds.
    QList<QStringList> segments(const QString& name) const
    {
        QList<QStringList> out;
        bool in = false;
        for (const QByteArray& line : contents(name).split('\n')) {
            const QString text = QString::fromLatin1(line).trimmed();
            if (text.startsWith('['))
                in = text == "[segment settings]";
            else if (in && !text.isEmpty())
                out << text.split('\t').mid(1);
        }
        return out;
    }
    void store(const char* section, const char* key, const char* value)
    {
        settings.SaveSetting(kAppName, QLatin1String(section), QLatin1String(key), QLatin1String(value));
    }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    AppPaths paths{dir.path() + "/program", dir.path() + "/data"};
};

} // namespace

TEST_F(RandomCommandTest, TheSameSeedWritesTheSameFileWithTheTotalTime)
{
    CliRun r = run({"--minutes", "30", "--seed", "7", "-o", path("a.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    r = run({"--minutes", "30", "--seed", "7", "-o", path("b.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_FALSE(contents("a.txt").isEmpty());
    EXPECT_EQ(contents("a.txt"), contents("b.txt"));
    EXPECT_TRUE(contents("a.txt").startsWith("Vexa v 1.2"));

    r = test::runCliCaptured({"totals", path("a.txt")}, settings, paths);
    EXPECT_TRUE(r.out.contains("Time:      30:00\n")) << r.out.toStdString();
    EXPECT_TRUE(settings.isEmpty()) << "the stored settings are left alone";

    ASSERT_EQ(run({"--minutes", "30", "--seed", "8", "-o", path("c.txt")}).status, 0);
    EXPECT_NE(contents("a.txt"), contents("c.txt"));
}

TEST_F(RandomCommandTest, OptionsTakeThePlaceOfTheStoredParameters)
{
    store("RandomWork", "Time", "1200");
    store("RandomWork", "Seg1Sec", "40");
    store("RandomWork", "SegZSpd", "30");
    CliRun r = run({"--seed", "3", "--warmup", "45,2.5,1.5", "--warmup", "50,3,2", "--cooldown", "55,2.2,1",
                    "--speed", "2-6.05", "--speed-pattern", "fast-slow", "--speed-bias", "25,9,100", "-o",
                    path("w.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QList<QStringList> s = segments("w.txt");
    ASSERT_GE(s.size(), 8);
    EXPECT_EQ(s[0], (QStringList{"2.5", "1.5", "45"}));
    EXPECT_EQ(s[1], (QStringList{"3", "2", "50"}));
    EXPECT_EQ(s[s.size() - 2], (QStringList{"2.2", "1", "55"}));
    EXPECT_EQ(s.last(), (QStringList{"3", "1", "60"})) << "the 2nd cool-down as stored";
    EXPECT_EQ(s[s.size() - 3][0], "6")
        << "the fast-slow peak at the end reaches the top, 6.05 taken down to 6";
    EXPECT_TRUE(r.out.contains("20:00")) << r.out.toStdString();
    EXPECT_EQ(settings.GetSetting(kAppName, "RandomWork", "Seg1Sec"), "40");
}

TEST_F(RandomCommandTest, KilometreSpeedsAreReadAsTheWindowShowsThem)
{
    store("Options", "Units", "Kilos");
    // 2.0 mph shows as 3.2 km/h, 10.0 mph as 16.1 km/h.
    CliRun r = run({"--seed", "1", "--speed", "3.2-16.1", "--warmup", "60,4.8,1", "-o", path("k.txt")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(segments("k.txt").first(), (QStringList{"3", "1", "60"})) << "4.8 km/h is 3.0 mph";

    r = run({"--speed", "1-16.1", "-o", path("k.txt")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("1 is below the machine's lowest speed, 1.6 km/h")) << r.err.toStdString();
}

TEST_F(RandomCommandTest, ValuesOutsideTheMachineOrTheSlidersAreRefused)
{
    const std::pair<QStringList, const char*> cases[] = {
        {{}, "no output file given"},
        {{"--minutes", "9"}, "--minutes takes whole minutes from 10 to 60"},
        {{"--minutes", "61"}, "from 10 to 60"},
        {{"--speed", "0.5-8"}, "--speed 0.5-8: 0.5 is below the machine's lowest speed, 1 mph"},
        {{"--speed", "2-12"}, "12 is above the machine's highest speed, 10 mph"},
        {{"--speed", "8-2"}, "the minimum is above the maximum"},
        {{"--speed", "5"}, "--speed takes MIN-MAX"},
        {{"--incline", "1-10.5"}, "10.5 is above the machine's highest incline, 10%"},
        {{"--speed-pattern", "hill"}, "--speed-pattern takes random|interval|fast-slow"},
        {{"--incline-pattern", "fast-slow"}, "--incline-pattern takes random|interval|hill"},
        {{"--speed-bias", "0,9,65"}, "ramp 1 to 100, spacing 2 to 10, peak 0 to 100"},
        {{"--incline-bias", "25,11,65"}, "--incline-bias takes RAMP,SPACING,PEAK"},
        {{"--incline-bias", "25,9"}, "--incline-bias takes RAMP,SPACING,PEAK"},
        {{"--warmup", "20,1,1"}, "the time takes whole seconds from 30 to 240"},
        {{"--cooldown", "60,11,1"}, "11 is above the machine's highest speed"},
        {{"--warmup", "60,1"}, "--warmup takes SEC,SPEED,INCLINE"},
        {{"--warmup", "60,1,1", "--warmup", "60,1,1", "--warmup", "60,1,1"}, "at most twice"},
        {{"--seed", "-1"}, "--seed takes a whole number"},
    };
    for (const auto& [args, message] : cases) {
        QStringList all = args;
        if (!args.isEmpty())
            all << "-o" << path("x.txt");
        const CliRun r = run(all);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(message))) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("x.txt"))) << args.join(' ').toStdString();
    }
}
