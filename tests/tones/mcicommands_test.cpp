#include "tones/mcicommands.h"

#include "platform/clock.h"
#include "fakecddevice.h"
#include "scriptedmessageboxes.h"

#include "testenv.h"
#include "manualclock.h"

#include <gtest/gtest.h>

using namespace kntr;

TEST(SendMci, SuccessShowsNothingWhateverTheFlag)
{
    ManualClock clock;
    FakeCdDevice cd(clock);
    ScriptedMessageBoxes boxes;
    MciCommands mci(cd, boxes);
    EXPECT_TRUE(mci.SendMci("stop cdaudio", true));
    EXPECT_TRUE(mci.SendMci("close cdaudio", false));
    EXPECT_TRUE(mci.SendMci("close all", true));
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_EQ(mci.lastResult().code, 0);
    EXPECT_EQ(cd.commands(), QStringList({"stop cdaudio", "close cdaudio", "close all"}));
}

TEST(SendMci, FailureKeepsTheCodeAndShowsItsTextOnlyWhenAsked)
{
    ManualClock clock;
    FakeCdDevice cd(clock);
    cd.setDrivePresent(false);
    ScriptedMessageBoxes boxes;
    MciCommands mci(cd, boxes);

    EXPECT_FALSE(mci.SendMci("stop cdaudio", false));
    EXPECT_EQ(mci.lastResult().code, CdDevice::kNoDrive);
    EXPECT_TRUE(boxes.shown().empty());

    EXPECT_FALSE(mci.SendMci("stop cdaudio", true));
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].text, CdDevice::errorText(CdDevice::kNoDrive));
    EXPECT_EQ(boxes.shown()[0].buttons, MessageBoxes::Buttons::Ok);
    EXPECT_EQ(boxes.shown()[0].title, "Kinetrova");
    EXPECT_EQ(mci.lastResult().message, CdDevice::errorText(CdDevice::kNoDrive));

    // The code stays until the next command.
    EXPECT_TRUE(mci.SendMci("close all", true));
    EXPECT_EQ(mci.lastResult().code, 0);
}
