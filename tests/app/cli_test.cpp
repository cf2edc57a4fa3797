#include "clirun.h"
#include "platform/apppaths.h"
#include "platform/memorysettingsstore.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

using test::CliRun;

class CliTest : public ::testing::Test {
protected:
    CliRun run(const QStringList& args) { return test::runCliCaptured(args, settings, paths); }

    MemorySettingsStore settings;
    AppPaths paths{"/data", "/user"};
};

TEST_F(CliTest, HelpAndVersion)
{
    const CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: kinetrova-cli COMMAND"));
    for (const CliCommand& c : cliCommands())
        EXPECT_TRUE(help.out.contains("  " + c.name)) << c.name.toStdString();

    const CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("kinetrova-cli 1.")) << version.out.toStdString();

    const CliRun commandHelp = run({"profile", "--help"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_TRUE(commandHelp.out.startsWith("Usage: kinetrova-cli profile"));
}

TEST_F(CliTest, MistakesGiveOneLineAndUsageOnStderrWithStatusTwo)
{
    for (const QStringList& args : {QStringList{}, QStringList{"frobnicate"}, QStringList{"profile", "extra"},
                                    QStringList{"profile", "--bogus"}}) {
        const CliRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        const QStringList lines = r.err.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2) << r.err.toStdString();
        EXPECT_TRUE(lines[0].startsWith("kinetrova-cli")) << r.err.toStdString();
        EXPECT_TRUE(lines[1].startsWith("Usage: kinetrova-cli")) << r.err.toStdString();
    }
}

TEST_F(CliTest, ProfileShowsTheStoredMachine)
{
    CliRun r = run({"profile"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.contains("Machine type:  Treadmill"));
    EXPECT_TRUE(r.out.contains("Speed:         1 to 10 in steps of 0.1")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Incline:       1 to 10 in steps of 0.5"));

    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Bike");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMax", "300");
    r = run({"profile"});
    EXPECT_TRUE(r.out.contains("Resist.:       1 to 30 in steps of 0.5")) << r.out.toStdString();
}

} // namespace
