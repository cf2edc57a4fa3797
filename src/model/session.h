#pragma once

#include "machine.h"
#include "workout.h"

#include <QString>

namespace kntr {

/// The program's working state from start-up to exit: the workout being edited,
/// the machine profile, whether the workout has unsaved edits, the open user
/// file and the user's weight. One exists per program; it is passed to whoever
/// needs it.
struct Session {
    Workout workout;
    Machine machine;
    bool modified = false; ///< the workout has edits not yet saved
    QString userFile; ///< path of the open user file; empty when none
    int weightPounds = 160;
};

} // namespace kntr
