#include "files/settingsupkeep.h"
#include "model/machine.h"
#include "platform/memorysettingsstore.h"

#include <gtest/gtest.h>

using namespace kntr;

TEST(SettingsUpkeep, EarlierReleaseIsDeletedOnlyWhenItRememberedAWorkout)
{
    MemorySettingsStore settings;
    settings.SaveSetting("Lumaventa", "user", "weight", "150");
    CleanupEarlierRelease(settings);
    EXPECT_EQ(settings.GetSetting("Lumaventa", "user", "weight"), "150");

    settings.SaveSetting("Lumaventa", "File", "LastFile", "C:\\old.txt");
    settings.SaveSetting("Kinetrova", "user", "weight", "170");
    CleanupEarlierRelease(settings);
    EXPECT_EQ(settings.GetSetting("Lumaventa", "user", "weight", "gone"), "gone");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "user", "weight"), "170") << "nothing copied or lost";
}

TEST(SettingsUpkeep, ResetClearsBothApplicationsAndTheProfile)
{
    MemorySettingsStore settings;
    settings.SaveSetting("Lumaventa", "File", "LastFile", "x");
    settings.SaveSetting("Kinetrova", "user", "windowstate", "0");
    settings.SaveSetting("Other", "a", "b", "kept");
    Machine machine;
    machine.setMachineType("Elliptical");
    machine.setDisplayUnits("Kilos");

    ResetSettings(settings, machine);
    EXPECT_EQ(settings.GetSetting("Lumaventa", "File", "LastFile", "gone"), "gone");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "user", "windowstate", "1010101"), "1010101");
    EXPECT_EQ(settings.GetSetting("Other", "a", "b"), "kept");
    EXPECT_EQ(machine.MachineType(), "Treadmill");
    EXPECT_EQ(machine.DisplayUnits(), "Miles");
}
