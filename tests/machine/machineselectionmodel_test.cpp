#include "machine/machineselectionmodel.h"
#include "model/session.h"
#include "model/workoutview.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"
#include "recordingworkoutview.h"

#include <gtest/gtest.h>

using namespace kntr;
using Box = MachineSelectionModel::Box;

namespace {

class MachineSelectionModelTest : public ::testing::Test {
protected:
    QString stored(const char* section, const char* key)
    {
        return settings.GetSetting("Kinetrova", section, key, "<absent>");
    }
    int typeIndex(const char* name) { return model.machineTypeBox().items().indexOf(name); }
    QString shown(Box box)
    {
        if (box == Box::SpeedMin || box == Box::SpeedMax || box == Box::SpeedInc)
            return model.speedBox(box, model.shownSpeedSet()).text();
        return model.inclineBox(box).text();
    }

    Session session;
    MemorySettingsStore settings;
    RecordingWorkoutView view;
    ScriptedMessageBoxes messages;
    MachineSelectionModel model{session, settings, view, messages};
};

TEST_F(MachineSelectionModelTest, LoadingShowsTheStoredProfile)
{
    model.load();
    EXPECT_EQ(model.machineTypeBox().items(),
              QStringList({"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"}));
    EXPECT_EQ(model.machineTypeBox().text(), "Treadmill");
    EXPECT_EQ(model.speedCaption(), "Speed");
    EXPECT_EQ(model.inclineCaption(), "Incline");
    EXPECT_EQ(shown(Box::SpeedMin), "1");
    EXPECT_EQ(shown(Box::SpeedMax), "10");
    EXPECT_EQ(shown(Box::SpeedInc), "0.1");
    EXPECT_EQ(shown(Box::InclineMin), "1");
    EXPECT_EQ(shown(Box::InclineMax), "10");
    EXPECT_EQ(shown(Box::InclineInc), "0.5");
    EXPECT_EQ(model.unitOption(), 0);
    EXPECT_EQ(model.shownSpeedSet(), 0);
    EXPECT_EQ(view.rangeUpdates, 1) << "readProfile gives the editor the ranges";
    EXPECT_EQ(session.machine.AttOneDesignLabelA(), "Speed");
}

TEST_F(MachineSelectionModelTest, AStoredValueNotAmongTheChoicesLeavesTheFirstEntry)
{
    settings.SaveSetting("Kinetrova", "Machine", "SpeedMin", "15");
    settings.SaveSetting("Kinetrova", "Machine", "InclineMax", "70");
    settings.SaveSetting("Kinetrova", "Machine", "InclineInc", "10");
    model.load();
    EXPECT_EQ(model.speedBox(Box::SpeedMin, 0).index(), 0);
    EXPECT_EQ(model.speedBox(Box::SpeedMin, 1).index(), 0);
    EXPECT_EQ(shown(Box::InclineMax), "5");
    EXPECT_EQ(shown(Box::InclineInc), "1");
}

TEST_F(MachineSelectionModelTest, AnUnknownStoredTypeShowsTheFirstType)
{
    settings.SaveSetting("Kinetrova", "Machine", "MachineType", "Rowing machine");
    model.load();
    EXPECT_EQ(model.machineTypeBox().text(), "Treadmill");
    EXPECT_EQ(session.machine.MachineType(), "Treadmill");
    EXPECT_EQ(session.machine.AttOneMinList().size(), 3);
}

TEST_F(MachineSelectionModelTest, MetricUnitsShowKilometreChoicesAndSaveMachineTenths)
{
    model.load();
    model.chooseUnits(1);
    EXPECT_EQ(model.shownSpeedSet(), 1);
    EXPECT_EQ(model.speedBox(Box::SpeedMin, 1).items(), QStringList({"1.61", "3.22", "4.83"}));
    EXPECT_EQ(model.speedBox(Box::SpeedMax, 1).items(), QStringList({"8.05", "9.66", "16.1", "19.32"}));
    EXPECT_EQ(model.speedBox(Box::SpeedInc, 1).items(), QStringList({"0.161", "0.805", "1.61"}));
    EXPECT_EQ(shown(Box::SpeedMax), "16.1") << "the km/h set shows the stored 10 mph";

    for (int entry = 0; entry < 3; ++entry) {
        model.chooseSpeed(Box::SpeedMin, 1, entry);
        model.save();
        EXPECT_EQ(stored("Machine", "SpeedMin"), QString::number(10 * (entry + 1)));
    }
    EXPECT_EQ(stored("Options", "Units"), "Kilos");
    EXPECT_EQ(view.units, Units::Kilometres);
    EXPECT_EQ(session.machine.DisplayUnits(), "Kilos");
}

TEST_F(MachineSelectionModelTest, SwitchingUnitsKeepsTheChosenSpeeds)
{
    model.load();
    model.chooseSpeed(Box::SpeedMax, 0, 3); // 12 mph
    model.chooseUnits(1);
    EXPECT_EQ(shown(Box::SpeedMax), "19.32");
    model.chooseSpeed(Box::SpeedInc, 1, 1); // 0.805 km/h = 0.5 mph
    model.chooseUnits(0);
    EXPECT_EQ(shown(Box::SpeedMax), "12");
    EXPECT_EQ(shown(Box::SpeedInc), "0.5");
}

TEST_F(MachineSelectionModelTest, AnEllipticalInMetricUnitsKeepsResistanceInItsOwnUnit)
{
    model.load();
    model.chooseUnits(1);
    model.chooseMachineType(typeIndex("Elliptical"));
    EXPECT_EQ(model.speedCaption(), "Resistance");
    EXPECT_EQ(model.shownSpeedSet(), 0) << "a resistance is never shown in km/h";
    EXPECT_EQ(model.unitOption(), 1);

    model.chooseSpeed(Box::SpeedMin, 0, 2); // resistance 3
    model.save();
    EXPECT_EQ(session.machine.DisplayUnits(), "Kilos");
    EXPECT_EQ(stored("Machine", "MachineType"), "Elliptical");
    EXPECT_EQ(stored("Machine", "SpeedMin"), "30") << "the visible choice is the one saved";
}

TEST_F(MachineSelectionModelTest, TheCalorieNoticeFollowsTheMachineType)
{
    model.load();
    for (const char* type : {"Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"}) {
        messages.clear();
        model.chooseMachineType(typeIndex(type));
        model.save();
        const bool notice = QString(type) == "Elliptical" || QString(type) == "Bike";
        ASSERT_EQ(messages.shown().size(), notice ? 1u : 0u) << type;
        if (notice) {
            EXPECT_EQ(messages.shown()[0].text, MachineSelectionModel::kCalorieNotice);
            EXPECT_EQ(messages.shown()[0].icon, MessageBoxes::Icon::Information);
        }
    }
}

TEST_F(MachineSelectionModelTest, TheInclineGuardKeepsTheMaximumAboveTheMinimum)
{
    model.load(); // treadmill: minimum 0, 1, 1.5, 2, 5, 10; maximum 5, 6, 10, 12
    model.chooseIncline(Box::InclineMax, 0); // 5 above 1: nothing moves
    EXPECT_EQ(shown(Box::InclineMin), "1");
    model.chooseIncline(Box::InclineMin, 5); // 10: the maximum moves down to 12
    EXPECT_EQ(shown(Box::InclineMin), "10");
    EXPECT_EQ(shown(Box::InclineMax), "12");
    model.chooseIncline(Box::InclineMax, 0); // 5: the minimum moves up to 2
    EXPECT_EQ(shown(Box::InclineMax), "5");
    EXPECT_EQ(shown(Box::InclineMin), "2");

    // The speed boxes have no guard.
    model.chooseSpeed(Box::SpeedMin, 0, 2);
    model.chooseSpeed(Box::SpeedMax, 0, 0);
    model.chooseSpeed(Box::SpeedMin, 0, 2);
    EXPECT_EQ(shown(Box::SpeedMin), "3");
    EXPECT_EQ(shown(Box::SpeedMax), "5");
}

TEST_F(MachineSelectionModelTest, SaveStoresTheProfileFitsTheWorkoutAndSeedsTheGenerator)
{
    model.load();
    session.workout.setCount(3);
    session.workout.segment(1).setSegmentSpeed(3.3);
    session.workout.segment(2).setSegmentSpeed(1.2);
    session.workout.segment(3).setSegmentSpeed(11.0);
    session.workout.setCurrent(3);
    model.chooseSpeed(Box::SpeedMin, 0, 1); // 2
    model.chooseSpeed(Box::SpeedInc, 0, 1); // 0.5
    model.chooseIncline(Box::InclineMin, 0); // 0
    view = RecordingWorkoutView();

    model.save();
    EXPECT_EQ(stored("Machine", "SpeedMin"), "20");
    EXPECT_EQ(stored("Machine", "SpeedMax"), "100");
    EXPECT_EQ(stored("Machine", "SpeedInc"), "5");
    EXPECT_EQ(stored("Machine", "InclineMin"), "0");
    EXPECT_EQ(stored("Options", "Units"), "Miles");
    EXPECT_EQ(view.unitSwitches, 1);
    EXPECT_EQ(view.units, Units::Miles);
    EXPECT_EQ(view.rangeUpdates, 1);
    EXPECT_EQ(view.selected, 1);
    EXPECT_GE(view.refreshes, 1);
    EXPECT_DOUBLE_EQ(session.workout.segment(1).SegmentSpeed(), 3.5);
    EXPECT_DOUBLE_EQ(session.workout.segment(2).SegmentSpeed(), 2.0);
    EXPECT_DOUBLE_EQ(session.workout.segment(3).SegmentSpeed(), 10.0);
    EXPECT_EQ(session.workout.current(), 1);

    EXPECT_EQ(stored("RandomWork", "Seg1Spd"), "20");
    EXPECT_EQ(stored("RandomWork", "Seg2Spd"), "40");
    EXPECT_EQ(stored("RandomWork", "SegYSpd"), "40");
    EXPECT_EQ(stored("RandomWork", "SegZSpd"), "20");
    EXPECT_EQ(stored("RandomWork", "Seg1Inc"), "0");
    EXPECT_EQ(stored("RandomWork", "Seg2Inc"), "0");
    EXPECT_EQ(stored("RandomWork", "SegYInc"), "0");
    EXPECT_EQ(stored("RandomWork", "SegZInc"), "0");
}

TEST_F(MachineSelectionModelTest, StoredMetricUnitsStaySelectedWhenTheWindowLoads)
{
    settings.SaveSetting("Kinetrova", "Options", "Units", "Kilos");
    model.load();
    EXPECT_EQ(model.unitOption(), 1);
    EXPECT_EQ(model.shownSpeedSet(), 1);
    model.save();
    EXPECT_EQ(stored("Options", "Units"), "Kilos");
}

TEST_F(MachineSelectionModelTest, CancelPutsTheProfileBackAndTheNextUseLoadsAfresh)
{
    model.load();
    model.chooseMachineType(typeIndex("Bike"));
    EXPECT_EQ(session.machine.AttTwoVoiceCue(), "Resistance");
    model.chooseSpeed(Box::SpeedMin, 0, 2);

    model.cancel();
    EXPECT_FALSE(model.isLoaded());
    EXPECT_EQ(session.machine.MachineType(), "Treadmill");
    EXPECT_EQ(session.machine.AttTwoVoiceCue(), "Incline");
    EXPECT_EQ(stored("Machine", "MachineType"), "<absent>");

    model.fitWorkout(); // any use loads the window again
    EXPECT_TRUE(model.isLoaded());
    EXPECT_EQ(model.machineTypeBox().text(), "Treadmill");
    EXPECT_EQ(shown(Box::SpeedMin), "1");
}

TEST_F(MachineSelectionModelTest, ChoosingTypesRefillsTheBoxesWithoutDuplicates)
{
    model.load();
    model.chooseMachineType(typeIndex("Incline trainer"));
    model.chooseMachineType(typeIndex("Incline trainer"));
    EXPECT_EQ(model.inclineBox(Box::InclineMax).items(),
              QStringList({"5", "6", "10", "12", "25", "30", "50"}));
    model.chooseMachineType(typeIndex("Elliptical Type A"));
    EXPECT_EQ(model.speedBox(Box::SpeedMin, 0).items(), QStringList({"2", "3", "4", "5"}));
    EXPECT_EQ(model.speedBox(Box::SpeedInc, 0).items(), QStringList({"1"}));
    EXPECT_EQ(model.inclineCaption(), "Resistance");
    // The stored 1.0 is no choice of this type: the first entry shows.
    EXPECT_EQ(shown(Box::SpeedMin), "2");
}

} // namespace
