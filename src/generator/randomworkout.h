#pragma once

#include "generatorparameters.h"

#include <functional>

namespace kntr {

class Editor;
class RandomDraws;

/// Makes a whole workout from generator parameters by driving the editor as a
/// user would: a new workout, then segments inserted one after another and
/// their time, speed and incline set through the editor's controls. Every value
/// passes the editor's limits, and the totals and the graph are current when
/// the workout is done.
///
/// The workout has two warm-up segments, N - 4 middle segments whose speeds and
/// inclines follow the chosen patterns, and two cool-down segments; N depends
/// on the total time. The middle segments share what the fixed segments leave
/// of the total time.
class RandomWorkout
{
public:
    /// newWorkout starts a one-segment workout as File > New does and returns
    /// false when the user chose to keep the workout there is.
    RandomWorkout(Editor& editor, std::function<bool()> newWorkout);

    /// The total time snapped to whole minutes (1230 → 1200, 1290 → 1320).
    static int snappedTime(int seconds);

    /// The bounds of the segment count for a total time: N lies in lo .. hi - 1,
    /// or is lo when both are equal.
    struct CountRange
    {
        int lo;
        int hi;
    };
    static CountRange segmentCountRange(int seconds);

    /// A middle segment's speed on the machine's step: rounded to the nearest
    /// multiple (47 → 45 with step 5).
    static int speedOnStep(int tenths, int step);
    /// A middle segment's incline on the machine's step: truncated (14 → 10 with step 5).
    static int inclineOnStep(int tenths, int step);

    /// Replaces the editor's workout with a generated one. Returns false, with
    /// the workout left as it was, when the new workout was refused. The total
    /// time is snapped to whole minutes and held within 10 to 60 minutes; a
    /// bias beyond its slider's range counts as the range's end.
    bool make(const GeneratorParameters& parameters, RandomDraws& draws);

private:
    struct Run;

    Editor& mEditor;
    std::function<bool()> mNewWorkout;
};

} // namespace kntr
