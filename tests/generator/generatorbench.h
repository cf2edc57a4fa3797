#pragma once

#include "editor/editor.h"
#include "generator/generatorparameters.h"
#include "generator/randomdraws.h"
#include "generator/randomworkout.h"
#include "manualclock.h"
#include "model/numbers.h"
#include "model/session.h"
#include "platform/memorysettingsstore.h"
#include "scriptedmessageboxes.h"

#include <cstdint>

namespace kntr::test {

/// A machine's two ranges in tenths.
struct MachineRanges
{
    int speedMin = 10, speedMax = 100, speedStep = 1;
    int inclineMin = 10, inclineMax = 100, inclineStep = 5;
};

/// An editor on a treadmill with the given ranges, and the generator driving it.
class GeneratorBench
{
public:
    explicit GeneratorBench(const MachineRanges& r = {})
    {
        Machine& m = session.machine;
        m.setMachineType(QStringLiteral("Treadmill"));
        m.setDisplayUnits(QStringLiteral("Miles"));
        m.setAttOneMin(r.speedMin);
        m.setAttOneMax(r.speedMax);
        m.setAttOneInc(r.speedStep);
        m.setAttTwoMin(r.inclineMin);
        m.setAttTwoMax(r.inclineMax);
        m.setAttTwoInc(r.inclineStep);
        editor.applyMachineRanges();
        editor.refreshAll();
    }

    /// The parameters a first start gives for the machine.
    GeneratorParameters defaults() const
    {
        return GeneratorParameters::stored(MemorySettingsStore(), session.machine);
    }

    /// Starts a one-segment workout, as File > New does without a question.
    bool newWorkout()
    {
        ++newWorkouts;
        if (!allowNewWorkout)
            return false;
        NewWorkout(session.workout, session.machine, settings);
        editor.selectSegment(1);
        return true;
    }

    bool make(const GeneratorParameters& p, std::uint32_t seed)
    {
        RandomWorkout generator(editor, [this] { return newWorkout(); });
        RandomDraws draws(seed);
        return generator.make(p, draws);
    }

    int count() const { return session.workout.count(); }
    int speed(int s) const { return toTenths(session.workout.segment(s).SegmentSpeed()); }
    int incline(int s) const { return toTenths(session.workout.segment(s).SegmentIncline()); }
    int time(int s) const { return static_cast<int>(roundHalfEven(session.workout.segment(s).SegmentTime())); }
    int totalTime() const
    {
        int sum = 0;
        for (int s = 1; s <= count(); ++s)
            sum += time(s);
        return sum;
    }

    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ManualClock clock;
    Session session;
    Editor editor{session, settings, messages, clock};
    bool allowNewWorkout = true;
    int newWorkouts = 0;
};

} // namespace kntr::test
