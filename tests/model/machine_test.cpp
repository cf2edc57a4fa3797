#include "model/machine.h"
#include "platform/memorysettingsstore.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

QStringList list(std::initializer_list<const char*> items)
{
    QStringList l;
    for (const char* i : items)
        l << QString::fromUtf8(i);
    return l;
}

class MachineTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    MemorySettingsStore settings;
};

TEST_F(MachineTest, ANewProfileIsEmptyUntilLoaded)
{
    Machine m;
    EXPECT_EQ(m.MachineTypes(),
              list({"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"}));
    EXPECT_EQ(m.MachineType(), "");
    EXPECT_EQ(m.AttOneMax(), 0);
    EXPECT_EQ(m.AttOneYLabel(), "");
    EXPECT_TRUE(m.AttOneMinList().isEmpty());
}

TEST_F(MachineTest, EmptyStoreGivesAMilesTreadmill)
{
    Machine m;
    m.GetSettings(settings);
    EXPECT_EQ(m.MachineType(), "Treadmill");
    EXPECT_TRUE(m.AttOneMinList().isEmpty()) << "GetSettings does not rebuild the lists";
    m.setMachineType(m.MachineType());
    EXPECT_EQ(m.DisplayUnits(), "Miles");
    EXPECT_EQ(m.units(), Units::Miles);
    EXPECT_EQ(m.AttOneMin(), 10);
    EXPECT_EQ(m.AttOneMax(), 100);
    EXPECT_EQ(m.AttOneInc(), 1);
    EXPECT_EQ(m.AttTwoMin(), 10);
    EXPECT_EQ(m.AttTwoMax(), 100);
    EXPECT_EQ(m.AttTwoInc(), 5);
}

TEST_F(MachineTest, SaveAndGetRoundTripThroughTheTableKeys)
{
    Machine m;
    m.setMachineType("Incline trainer");
    m.setDisplayUnits("Kilos");
    m.setAttOneMin(20);
    m.setAttOneMax(120);
    m.setAttOneInc(5);
    m.setAttTwoMin(0);
    m.setAttTwoMax(500);
    m.setAttTwoInc(10);
    m.SaveSettings(settings);

    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "MachineType"), "Incline trainer");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "options", "Units"), "Kilos");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "SpeedMin"), "20");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "InclineMax"), "500");

    Machine loaded;
    loaded.GetSettings(settings);
    EXPECT_EQ(loaded.MachineType(), "Incline trainer");
    EXPECT_EQ(loaded.units(), Units::Kilometres);
    EXPECT_EQ(loaded.AttOneInc(), 5);
    EXPECT_EQ(loaded.AttTwoMax(), 500);
    EXPECT_EQ(loaded.AttTwoInc(), 10);
}

TEST_F(MachineTest, ARangeThatIsNotAWholeNumberReadsAsItsDefault)
{
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMax", "12.5");
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMin", "abc");
    settings.SaveSetting("Kinetrova", "Machine", "InclineInc", "");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMax", "99999");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMin", " 0 ");
    Machine m;
    m.GetSettings(settings);
    EXPECT_EQ(m.AttOneMax(), 100);
    EXPECT_EQ(m.AttOneMin(), 10);
    EXPECT_EQ(m.AttTwoInc(), 5);
    EXPECT_EQ(m.AttTwoMax(), 100);
    EXPECT_EQ(m.AttTwoMin(), 0);
}

TEST_F(MachineTest, EachTypeHasItsLabelsAndChoices)
{
    Machine m;
    m.setMachineType("Treadmill");
    EXPECT_EQ(m.AttOneYLabel(), "     Speed");
    EXPECT_EQ(m.AttTwoYLabel(), "   Incline");
    EXPECT_EQ(m.AttOneDesignLabelB(), "1/Speed");
    EXPECT_EQ(m.AttOneIncList(), list({"0.1", "0.5", "1"}));
    EXPECT_EQ(m.AttTwoMinList(), list({"0", "1", "1.5", "2", "5", "10"}));

    m.setMachineType("Incline trainer");
    EXPECT_EQ(m.AttTwoMaxList(), list({"5", "6", "10", "12", "25", "30", "50"}));
    EXPECT_EQ(m.AttTwoMinList(), list({"0", "1", "5", "10"}));

    m.setMachineType("Elliptical");
    EXPECT_EQ(m.AttOneVoiceCue(), "Resistance");
    EXPECT_EQ(m.AttOneYLabel(), "Resistance");
    EXPECT_EQ(m.AttOneDesignLabelA(), "Resist.");
    EXPECT_EQ(m.AttOneDesignLabelB(), "1/Resist.");
    EXPECT_EQ(m.AttTwoVoiceCue(), "Incline");
    EXPECT_EQ(m.AttOneMinList(), list({"1", "2", "3", "4", "5"}));
    EXPECT_EQ(m.AttOneIncList(), list({"1"}));
    EXPECT_EQ(m.AttTwoIncList(), list({"1", "5"}));

    m.setMachineType("Elliptical Type A");
    EXPECT_EQ(m.AttOneVoiceCue(), "Speed");
    EXPECT_EQ(m.AttTwoVoiceCue(), "Resistance");
    EXPECT_EQ(m.AttTwoDesignLabel(), "Resist.");
    EXPECT_EQ(m.AttOneMinList(), list({"2", "3", "4", "5"}));

    m.setMachineType("Bike");
    EXPECT_EQ(m.AttTwoYLabel(), "Resistance");
    EXPECT_EQ(m.AttTwoMaxList(), list({"5", "6", "10", "12", "25", "30"}));
    EXPECT_EQ(m.AttTwoIncList(), list({"0.5", "1"}));
}

TEST_F(MachineTest, RebuildingTwiceLeavesNoDuplicatesAndKeepsRanges)
{
    Machine m;
    m.setAttOneMax(77);
    m.setMachineType("Bike");
    m.setMachineType("Bike");
    EXPECT_EQ(m.AttOneMaxList(), list({"5", "6", "10", "12"}));
    EXPECT_EQ(m.AttTwoMinList(), list({"0", "1", "5", "10"}));
    EXPECT_EQ(m.AttOneMax(), 77);
}

TEST_F(MachineTest, AnUnknownNameEmptiesTheListsAndKeepsTheLabels)
{
    Machine m;
    m.setMachineType("Elliptical");
    m.setMachineType("treadmill"); // names compare exactly
    EXPECT_EQ(m.MachineType(), "treadmill");
    EXPECT_TRUE(m.AttOneMinList().isEmpty());
    EXPECT_TRUE(m.AttTwoIncList().isEmpty());
    EXPECT_EQ(m.AttOneYLabel(), "Resistance");
    EXPECT_EQ(m.AttOneVoiceCue(), "Resistance");
}

TEST_F(MachineTest, ChoicesUseTheSeparatorOfTheLocaleAtCreation)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Machine m;
    m.setMachineType("Treadmill");
    EXPECT_EQ(m.AttOneIncList(), list({"0,1", "0,5", "1"}));
    EXPECT_EQ(m.AttTwoMinList().at(2), "1,5");
}

TEST_F(MachineTest, UnitSwitchSavesTheProfileWithoutConverting)
{
    Machine m;
    m.GetSettings(settings);
    SwitchUnits(m, settings, Units::Kilometres);
    EXPECT_EQ(m.DisplayUnits(), "Kilos");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Options", "Units"), "Kilos");
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Machine", "SpeedMax"), "100");
    SwitchUnits(m, settings, Units::Miles);
    EXPECT_EQ(settings.GetSetting("Kinetrova", "Options", "Units"), "Miles");
}

TEST_F(MachineTest, SpeedsAreInKilometresUnlessAttributeOneIsAResistance)
{
    const struct {
        const char* type;
        Units units;
        bool kilometres;
    } cases[] = {
        {"Treadmill", Units::Kilometres, true},   {"Treadmill", Units::Miles, false},
        {"Bike", Units::Kilometres, true},        {"Elliptical Type A", Units::Kilometres, true},
        {"Elliptical", Units::Kilometres, false}, {"Rowing machine", Units::Kilometres, true},
    };
    for (const auto& c : cases) {
        Machine m;
        m.setMachineType(c.type);
        m.setDisplayUnits(c.units == Units::Kilometres ? "Kilos" : "Miles");
        EXPECT_EQ(speedInKilometres(m), c.kilometres) << c.type;
        EXPECT_EQ(speedInKilometres(m, Units::Miles), false) << c.type;
    }
}

TEST_F(MachineTest, ResetGoesBackToAFirstStartsProfile)
{
    Machine m;
    m.setMachineType("Bike");
    m.setDisplayUnits("Kilos");
    m.setAttTwoMax(300);
    m.resetToDefaults();
    EXPECT_EQ(m.MachineType(), "Treadmill");
    EXPECT_EQ(m.AttTwoYLabel(), "   Incline");
    EXPECT_EQ(m.units(), Units::Miles);
    EXPECT_EQ(m.AttTwoMax(), 100);
}

} // namespace
