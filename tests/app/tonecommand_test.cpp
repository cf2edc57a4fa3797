#include "clirun.h"
#include "model/machine.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"
#include "tones/controltones.h"

#include "testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class ToneCommandTest : public ::testing::Test {
protected:
    test::CliRun run(const QStringList& args)
    {
        return test::runCliCaptured(QStringList{"tone"} + args, settings, paths);
    }

    QByteArray expected(const QString& type, std::int16_t a, std::int16_t b, bool stereo)
    {
        Machine machine;
        machine.setMachineType(type);
        ControlTones tones(machine);
        tones.BuildToneBlocks(stereo);
        return tones.MakeControlTone(a, b, stereo);
    }

    QByteArray written() const
    {
        QFile f(file());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString file() const { return dir.filePath("tone.wav"); }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    AppPaths paths{"/data", "/user"};
};

} // namespace

TEST_F(ToneCommandTest, WritesTheImageForTheStoredMachine)
{
    test::CliRun r = run({"65", "45", "-o", file()});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(written(), expected("Treadmill", 65, 45, false));
    EXPECT_EQ(r.out,
              "Treadmill 65 45: 0110000010 0110110100 0101110110 (mono), 18044 bytes to " + file() + "\n");

    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Elliptical");
    r = run({"50", "100", "--stereo", "--output", file()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(written(), expected("Elliptical", 50, 100, true));
    EXPECT_EQ(written().size(), 36044);
    EXPECT_TRUE(r.out.startsWith("Elliptical 50 100: 0100101000 0101001100 0101100010 (stereo)"));

    r = run({"65", "0", "--machine", "elliptical type a", "-o", file()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(written(), expected("Elliptical Type A", 65, 0, false));
}

TEST_F(ToneCommandTest, MistakesAreUsageErrors)
{
    for (const QStringList& args :
         {QStringList{"65", "45", "--machine", "Rowing machine", "-o", "x.wav"}, QStringList{"65", "45"},
          QStringList{"6.5", "45", "-o", "x.wav"}, QStringList{"65", "40000", "-o", "x.wav"},
          QStringList{"65", "-o", "x.wav"}}) {
        const test::CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        const QStringList lines = r.err.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
        EXPECT_TRUE(lines[1].startsWith("Usage: kinetrova-cli tone")) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists("x.wav"));
}

TEST_F(ToneCommandTest, AFileThatCannotBeWrittenFails)
{
    const test::CliRun r = run({"65", "45", "-o", dir.filePath("no/such/folder/tone.wav")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.startsWith("kinetrova-cli tone: cannot write")) << r.err.toStdString();
}

TEST_F(ToneCommandTest, PlayingWithoutASoundOutputFails)
{
    qputenv("PULSE_SERVER", "unix:/nonexistent/kinetrova-test/native");
    int argc = 1;
    char name[] = "cli_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const test::CliRun r = run({"65", "45", "--play"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.contains("could not be played")) << r.err.toStdString();
}
