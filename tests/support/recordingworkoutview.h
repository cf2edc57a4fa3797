#pragma once

#include "model/workoutview.h"

namespace kntr {

/// A view for tests: remembers what it was asked to show.
class RecordingWorkoutView : public WorkoutView {
public:
    void refreshWorkout() override { ++refreshes; }
    void selectSegment(int index) override { selected = index; }
    void switchUnits(Units u) override
    {
        units = u;
        ++unitSwitches;
    }
    void applyMachineRanges() override { ++rangeUpdates; }
    void setCaption(const QString& c) override { caption = c; }
    void resetElapsedTime() override { ++elapsedResets; }
    void setWeight(int pounds) override { weight = pounds; }

    int refreshes = 0;
    int selected = 0;
    Units units = Units::Miles;
    int unitSwitches = 0;
    int rangeUpdates = 0;
    QString caption;
    int elapsedResets = 0;
    int weight = 0;
};

} // namespace kntr
