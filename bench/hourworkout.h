#pragma once

// What the file-build benchmarks share: the hour-long workout they build and
// the peak memory they report.

#include "model/machine.h"
#include "model/workout.h"

#include <sys/resource.h>

namespace kntr::bench {

/// A treadmill workout of 30 two-minute segments with varied targets.
inline Workout hourWorkout()
{
    Workout workout;
    workout.setCount(30);
    for (int k = 1; k <= 30; ++k) {
        workout.segment(k).setSegmentSpeed(3.0 + (k % 7));
        workout.segment(k).setSegmentIncline((k % 5) * 1.5);
        workout.segment(k).setSegmentTime(120);
    }
    return workout;
}

inline Machine treadmill()
{
    Machine machine;
    machine.setMachineType(QStringLiteral("Treadmill"));
    return machine;
}

/// The process's peak resident memory so far, in kilobytes.
inline long peakRssKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace kntr::bench
