#pragma once

#include "generator/generatorparameters.h"
#include "generator/randomdraws.h"
#include "generator/randomworkout.h"
#include "manualclock.h"
#include "model/machinefit.h"
#include "model/numbers.h"
#include "model/session.h"
#include "platform/memorysettingsstore.h"

#include <cstdint>

namespace kntr::test {

/// A machine's two ranges in tenths.
struct MachineRanges {
    int speedMin = 10, speedMax = 100, speedStep = 1;
    int inclineMin = 10, inclineMax = 100, inclineStep = 5;
};

/// A session on a treadmill with the given ranges, and the generator making its workouts.
class GeneratorBench {
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
    }

    /// The parameters a first start gives for the machine.
    GeneratorParameters defaults() const
    {
        return GeneratorParameters::stored(MemorySettingsStore(), session.machine);
    }

    /// Puts a generated workout in place, as the main window does unless the
    /// user keeps the workout there is.
    bool useWorkout(const Workout& workout)
    {
        ++newWorkouts;
        if (!allowNewWorkout)
            return false;
        session.workout = workout;
        session.modified = true;
        return true;
    }

    bool make(const GeneratorParameters& p, std::uint32_t seed)
    {
        RandomDraws draws(seed);
        return useWorkout(RandomWorkout::make(p, session.machine, session.weightPounds, draws));
    }

    int count() const { return session.workout.count(); }
    int speed(int s) const { return toTenths(session.workout.segment(s).SegmentSpeed()); }
    int incline(int s) const { return toTenths(session.workout.segment(s).SegmentIncline()); }
    int time(int s) const
    {
        return static_cast<int>(roundHalfEven(session.workout.segment(s).SegmentTime()));
    }
    int totalTime() const
    {
        int sum = 0;
        for (int s = 1; s <= count(); ++s)
            sum += time(s);
        return sum;
    }

    MemorySettingsStore settings;
    ManualClock clock;
    Session session;
    bool allowNewWorkout = true;
    int newWorkouts = 0;
};

} // namespace kntr::test
