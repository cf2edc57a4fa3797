#pragma once

#include "units.h"

#include <QString>

namespace kntr {

/// What shows the workout to the user. The main window implements it; file
/// readers, the machine selection and the generator call it after they change
/// the session.
class WorkoutView {
public:
    virtual ~WorkoutView() = default;

    /// Redraws everything that shows the workout: value rows, graph, both scales and totals.
    virtual void refreshWorkout() = 0;
    /// Makes segment index (1-based) the one being edited and shows its values.
    virtual void selectSegment(int index) = 0;
    /// Runs the unit switch: menu check marks, labels, totals, profile saved.
    virtual void switchUnits(Units units) = 0;
    /// Takes the machine profile's ranges and steps into the value controls.
    virtual void applyMachineRanges() = 0;
    /// Sets the main window's caption.
    virtual void setCaption(const QString& caption) = 0;
    /// Sets the run panel's elapsed time back to "0:00".
    virtual void resetElapsedTime() = 0;
    /// Sets the weight control, in pounds.
    virtual void setWeight(int pounds) = 0;
};

} // namespace kntr
