#pragma once

#include "model/machine.h"
#include "model/session.h"
#include "model/workoutview.h"

namespace kntr {

class SettingsStore;

/// The workout view of the headless commands: nothing is drawn, but a unit
/// switch reaches the machine profile as the main window's does.
class CliWorkoutView : public WorkoutView {
public:
    CliWorkoutView(Session& session, SettingsStore& settings)
        : mSession(session)
        , mSettings(settings)
    {
    }

    void refreshWorkout() override { }
    void selectSegment(int) override { }
    void switchUnits(Units units) override { SwitchUnits(mSession.machine, mSettings, units); }
    void applyMachineRanges() override { }
    void setCaption(const QString&) override { }
    void resetElapsedTime() override { }
    void setWeight(int) override { }

private:
    Session& mSession;
    SettingsStore& mSettings;
};

} // namespace kntr
