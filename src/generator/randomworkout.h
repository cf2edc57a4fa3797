#pragma once

#include "generatorparameters.h"

#include "model/workout.h"

namespace kntr {

class Machine;
class RandomDraws;

/// Makes a whole workout from generator parameters and the machine's ranges,
/// as a user would build it in the editor: segments inserted one after another
/// as copies of the one before, and their time, speed and incline set within
/// the editor's limits (the machine's ranges, 10 s to an hour).
///
/// The workout has two warm-up segments, N - 4 middle segments whose speeds and
/// inclines follow the chosen patterns, and two cool-down segments; N depends
/// on the total time. The middle segments share what the fixed segments leave
/// of the total time.
class RandomWorkout {
public:
    /// The total time snapped to whole minutes (1230 → 1200, 1290 → 1320).
    static int snappedTime(int seconds);

    /// The bounds of the segment count for a total time: N lies in lo .. hi - 1,
    /// or is lo when both are equal.
    struct CountRange {
        int lo;
        int hi;
    };
    static CountRange segmentCountRange(int seconds);

    /// A middle segment's speed on the machine's step: rounded to the nearest
    /// multiple (47 → 45 with step 5).
    static int speedOnStep(int tenths, int step);
    /// A middle segment's incline on the machine's step: truncated (14 → 10 with step 5).
    static int inclineOnStep(int tenths, int step);

    /// A generated workout for the machine, every segment at the user's body
    /// weight and segment 1 selected. The total time is snapped to whole
    /// minutes and held within 10 to 60 minutes; a bias beyond its slider's
    /// range counts as the range's end.
    static Workout make(const GeneratorParameters& parameters, const Machine& machine, double weightPounds,
                        RandomDraws& draws);

private:
    struct Run;
};

} // namespace kntr
