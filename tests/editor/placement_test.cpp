#include "editor/commandline.h"
#include "editor/windowplacement.h"

#include "platform/memorysettingsstore.h"
#include "platform/settingsstore.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

TEST(PlacementTest, TwipsAndPixels)
{
    EXPECT_EQ(twipsToPixels(1440, 96), 96);
    EXPECT_EQ(twipsToPixels(8800, 96), 587);
    EXPECT_EQ(twipsToPixels(5800, 96), 387);
    EXPECT_EQ(twipsToPixels(8800, 192), 1173);
    EXPECT_EQ(pixelsToTwips(96, 96), 1440);
    EXPECT_EQ(twipsToPixels(120, 96), 8);
}

TEST(PlacementTest, FirstStartIsCentredAtTheDefaultSize)
{
    MemorySettingsStore settings;
    const WindowPlacement p = WindowPlacement::read(settings, QRect(0, 0, 1280, 800), 96);
    EXPECT_EQ(p.state, WindowPlacement::kFirstStart);
    EXPECT_EQ(p.pixels.size(), QSize(587, 387));
    EXPECT_EQ(p.pixels.center(), QRect(0, 0, 1280, 800).center());
}

TEST(PlacementTest, StoredPlacementRoundTrips)
{
    MemorySettingsStore settings;
    WindowPlacement p;
    p.state = 0;
    p.pixels = QRect(100, 50, 700, 450);
    p.write(settings, 96);
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "frmMainLeft"), "1500");
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "frmMainWidth"), "10500");
    EXPECT_EQ(settings.GetSetting(kAppName, "user", "windowstate"), "0");
    const WindowPlacement back = WindowPlacement::read(settings, QRect(0, 0, 1280, 800), 96);
    EXPECT_EQ(back.state, 0);
    EXPECT_EQ(back.pixels, p.pixels);
}

TEST(PlacementTest, WindowOffEveryScreenComesBackToTheMiddle)
{
    MemorySettingsStore settings;
    settings.SaveSetting(kAppName, "user", "frmMainLeft", "60000");
    settings.SaveSetting(kAppName, "user", "frmMainTop", "1000");
    settings.SaveSetting(kAppName, "user", "windowstate", "0");
    const WindowPlacement p = WindowPlacement::read(settings, QRect(0, 0, 1280, 800), 96);
    EXPECT_EQ(p.pixels.center(), QRect(0, 0, 1280, 800).center());
}

TEST(PlacementTest, GarbledNumbersReadAsDefaults)
{
    MemorySettingsStore settings;
    settings.SaveSetting(kAppName, "user", "frmMainWidth", "wide");
    settings.SaveSetting(kAppName, "user", "windowstate", "");
    const WindowPlacement p = WindowPlacement::read(settings, QRect(0, 0, 1280, 800), 96);
    EXPECT_EQ(p.pixels.width(), 587);
    EXPECT_EQ(p.state, WindowPlacement::kFirstStart);
}

TEST(PlacementTest, ArrangementThresholds)
{
    EXPECT_EQ(chooseArrangement(QSize(8800, 5800)), Arrangement::Wide);
    EXPECT_EQ(chooseArrangement(QSize(8780, 5640)), Arrangement::Wide);
    EXPECT_EQ(chooseArrangement(QSize(8779, 5800)), Arrangement::Compact);
    EXPECT_EQ(chooseArrangement(QSize(12000, 5639)), Arrangement::Compact);
}

TEST(CommandLineTest, UserFileArgument)
{
    EXPECT_EQ(userFileArgument({"kinetrova"}), "");
    EXPECT_EQ(userFileArgument({"kinetrova", "/home/u/users/ann.ktr"}), "/home/u/users/ann.ktr");
    EXPECT_EQ(userFileArgument({"kinetrova", "\"/home/u/my users/ann.ktr\""}), "/home/u/my users/ann.ktr");
    // Unquoted with blanks, split by the shell.
    EXPECT_EQ(userFileArgument({"kinetrova", "/home/u/my", "users/ann.ktr"}), "/home/u/my users/ann.ktr");
    // The association's argument opened by a quote that is never closed.
    EXPECT_EQ(userFileArgument({"kinetrova", "\"/home/u/ann.ktr"}), "/home/u/ann.ktr");
}

TEST(PlacementTest, PanelsFillTheClientAreaWithoutOverlapping)
{
    const QSize client(800, 520);
    const QSize segmentHint(500, 90), totalsHint(160, 150);
    for (Arrangement arrangement : {Arrangement::Wide, Arrangement::Compact}) {
        const PanelLayout p = layOutPanels(arrangement, client, 8, segmentHint, totalsHint);
        const QRect inner = QRect(QPoint(0, 0), client).adjusted(8, 8, -8, -8);
        for (const QRect& r : {p.profile, p.segment, p.totals})
            EXPECT_TRUE(inner.contains(r)) << int(arrangement);
        EXPECT_FALSE(p.profile.intersects(p.segment) || p.profile.intersects(p.totals)
                     || p.segment.intersects(p.totals));
        EXPECT_EQ(p.segment.height(), 90);
        EXPECT_EQ(p.segment.bottom(), inner.bottom() - (arrangement == Arrangement::Wide ? 0 : 158));
    }
    // Wide: the totals a column of their own width beside the profile.
    EXPECT_EQ(layOutPanels(Arrangement::Wide, client, 8, segmentHint, totalsHint).totals.width(), 160);
    EXPECT_EQ(layOutPanels(Arrangement::Compact, client, 8, segmentHint, totalsHint).totals.width(), 784);
}

TEST(PlacementTest, WindowStatesAreStoredAsNumbers)
{
    EXPECT_EQ(WindowPlacement::stateOf(Qt::WindowNoState), 0);
    EXPECT_EQ(WindowPlacement::stateOf(Qt::WindowMinimized), 1);
    EXPECT_EQ(WindowPlacement::stateOf(Qt::WindowMaximized), 2);
    EXPECT_EQ(WindowPlacement::stateOf(Qt::WindowMinimized | Qt::WindowMaximized), 1);
}

} // namespace
