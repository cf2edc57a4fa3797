#include "randomworkout.h"

#include "randomdraws.h"

#include "model/machine.h"
#include "model/numbers.h"

#include <algorithm>
#include <cmath>

namespace kntr {

namespace {

using P = GeneratorParameters;

/// Draws for a value that is no multiple of the step before the last one
/// drawn is kept and rounded instead. The ranges are snapped to the steps, so
/// a multiple is always within reach unless the machine's own minimum is no
/// multiple of its step; then the loop must still end.
constexpr int kMaxRedraws = 1000;

float nearest(float x)
{
    return static_cast<float>(roundHalfEven(x));
}

int nearestInt(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

/// A bias as its slider can hold it; outside its range a period or a ramp
/// could reach zero.
int bias(const std::array<int, 3>& biases, P::Bias which)
{
    return std::clamp(biases[which], P::kBiasMin[which], P::kBiasMax[which]);
}

/// A pattern's bias slider read mirrored, from its right end: min + max - value.
int mirrored(const std::array<int, 3>& biases, P::Bias which)
{
    return P::kBiasMin[which] + P::kBiasMax[which] - bias(biases, which);
}

} // namespace

/// One generation: the parameters, the segment count and the values derived
/// from them, and the workout being built with its selected segment.
struct RandomWorkout::Run {
    const P& p;
    const Machine& m;
    RandomDraws& draws;
    int count;
    Workout workout{};
    int current = 1;

    float speedRamp = 1; // RS
    float inclineRamp = 1; // RI
    int speedPeriod = 2; // PS
    int inclinePeriod = 2; // PI
    float speedPeak = 0; // KS
    float inclinePeak = 0; // KI

    int speedStep() const { return std::max(1, int(m.AttOneInc())); }
    int inclineStep() const { return std::max(1, int(m.AttTwoInc())); }

    /// The selected segment's values, each held to its editing control's range.
    Segment& selected() { return workout.segment(current); }
    void setSpeed(int tenths)
    {
        selected().setSegmentSpeed(
            std::clamp(tenths, int(m.AttOneMin()), std::max(int(m.AttOneMin()), int(m.AttOneMax()))) / 10.0);
    }
    void setIncline(int tenths)
    {
        selected().setSegmentIncline(
            std::clamp(tenths, int(m.AttTwoMin()), std::max(int(m.AttTwoMin()), int(m.AttTwoMax()))) / 10.0);
    }
    void setTime(int seconds)
    {
        selected().setSegmentTime(std::clamp(seconds, kMinSegmentSeconds, kMaxSegmentSeconds));
    }
    void setFixed(const FixedSegment& f)
    {
        setTime(f.seconds);
        setSpeed(f.speed);
        setIncline(f.incline);
    }
    int segmentTime(int s) const { return nearestInt(workout.segment(s).SegmentTime()); }
    void select(int s) { current = std::clamp(s, 1, workout.count()); }
    /// Inserts a copy of the selected segment after it and selects the copy.
    void addSegment()
    {
        workout.insertCopyAfter(current);
        ++current;
    }

    /// The random ramp: a random value whose ceiling rises with s, faster the
    /// smaller the ramp factor.
    int rampDraw(int s, int lo, int hi, float ramp)
    {
        const float range = static_cast<float>(hi - lo);
        float cap =
            range * static_cast<float>(s - 2) / (static_cast<float>(count) * ramp) + static_cast<float>(lo);
        if (range < cap)
            cap = range;
        return nearestInt(nearest(draws.draw() * cap) + static_cast<float>(lo));
    }

    /// Intervals: every period-th middle segment high (the top 35 % of the
    /// range), the others low (the bottom 35 %).
    int intervalDraw(int s, int lo, int hi, int period)
    {
        const float range = static_cast<float>(hi - lo);
        if ((s - 2) % period == 0) {
            const float base = 0.65f * range + static_cast<float>(lo);
            return nearestInt(nearest((static_cast<float>(hi) - base) * draws.draw()) + base);
        }
        return nearestInt(nearest(0.35f * range * draws.draw()) + static_cast<float>(lo));
    }

    /// Draws until the value is a multiple of step, reseeding before each new try.
    template<typename Draw> int drawMultiple(int step, Draw drawOnce)
    {
        int v = drawOnce();
        for (int tries = 0; v % step != 0 && tries < kMaxRedraws; ++tries) {
            draws.reseed();
            v = drawOnce();
        }
        return v;
    }

    int speed(int s)
    {
        const int lo = p.speedMin, hi = p.speedMax;
        switch (p.speedPattern) {
        case P::Interval:
            return drawMultiple(speedStep(), [&] { return intervalDraw(s, lo, hi, speedPeriod); });
        case P::FastSlow: {
            // A linear rise to the peak and a linear fall after it.
            const int range = hi - lo;
            const float step = static_cast<float>(s) <= speedPeak + 2
                ? nearest(static_cast<float>(range) * static_cast<float>(s - 2) / speedPeak)
                : nearest(static_cast<float>(count - s) / (static_cast<float>(count) - speedPeak)
                          * static_cast<float>(range));
            return std::clamp(lo + static_cast<int>(step), int(m.AttOneMin()),
                              std::max(int(m.AttOneMin()), int(m.AttOneMax())));
        }
        default:
            return drawMultiple(speedStep(), [&] { return rampDraw(s, lo, hi, speedRamp); });
        }
    }

    int incline(int s)
    {
        const int lo = p.inclineMin, hi = p.inclineMax;
        switch (p.inclinePattern) {
        case P::Interval:
            return drawMultiple(inclineStep(), [&] { return intervalDraw(s, lo, hi, inclinePeriod); });
        case P::Hill: {
            // As fast-slow, but the hill turns at the peak itself.
            const int range = hi - lo;
            const float step = static_cast<float>(s) <= inclinePeak
                ? nearest(static_cast<float>(range) * static_cast<float>(s - 2) / inclinePeak)
                : nearest(static_cast<float>(range) * static_cast<float>(count - s)
                          / (static_cast<float>(count) - inclinePeak));
            return std::clamp(lo + static_cast<int>(step), int(m.AttTwoMin()),
                              std::max(int(m.AttTwoMin()), int(m.AttTwoMax())));
        }
        default:
            return drawMultiple(inclineStep(), [&] { return rampDraw(s, lo, hi, inclineRamp); });
        }
    }

    void build(int total)
    {
        setFixed(p.fixed[P::FirstWarmUp]);
        addSegment();
        setFixed(p.fixed[P::SecondWarmUp]);

        const float middle = static_cast<float>(count - 4);
        speedPeak = middle * static_cast<float>(bias(p.speedBias, P::Peak)) / 100.0f;
        inclinePeak = middle * static_cast<float>(bias(p.inclineBias, P::Peak)) / 100.0f;
        speedPeriod = mirrored(p.speedBias, P::Spacing);
        inclinePeriod = mirrored(p.inclineBias, P::Spacing);
        speedRamp = static_cast<float>(mirrored(p.speedBias, P::Ramp)) / 100.0f;
        inclineRamp = static_cast<float>(mirrored(p.inclineBias, P::Ramp)) / 100.0f;

        for (int s = 3; s <= count - 2; ++s) {
            addSegment();
            setTime(60);

            draws.reseed();
            setSpeed(speedOnStep(speed(s), speedStep()));
            draws.reseed();
            setIncline(inclineOnStep(incline(s), inclineStep()));
        }

        select(count - 2);
        addSegment();
        setFixed(p.fixed[P::FirstCoolDown]);
        addSegment();
        setFixed(p.fixed[P::SecondCoolDown]);

        shareTime(total);
        select(1);
    }

    /// The middle segments share what the fixed segments leave of the total:
    /// random times first, then an even share of the rest, and what the
    /// editor's limits left over goes to one segment near the middle.
    void shareTime(int total)
    {
        int left = total;
        for (const FixedSegment& f : p.fixed)
            left -= f.seconds;

        const int shortest = 2 * kMinSegmentSeconds;
        int sum = 0;
        for (int s = 3; s <= count - 2; ++s) {
            draws.reseed();
            int t =
                static_cast<int>(std::floor(draws.draw() * 65.0f + static_cast<float>(left / count) - 35.0f));
            if (t < shortest)
                t = shortest;
            select(s);
            setTime(t);
            sum += t;
        }

        const int even = (left - sum) / (count - 4);
        for (int s = 3; s <= count - 2; ++s) {
            select(s);
            setTime(segmentTime(s) + even);
        }

        for (int s = 3; s <= count - 2; ++s)
            left -= segmentTime(s);
        const int target = count / 2 - 1;
        select(target);
        setTime(segmentTime(target) + left);
    }
};

int RandomWorkout::snappedTime(int seconds)
{
    return nearestInt(static_cast<double>(seconds) / 60.0) * 60;
}

int RandomWorkout::speedOnStep(int tenths, int step)
{
    step = std::max(1, step);
    return tenths % step == 0 ? tenths : nearestInt(static_cast<double>(tenths) / step) * step;
}

int RandomWorkout::inclineOnStep(int tenths, int step)
{
    step = std::max(1, step);
    return tenths / step * step;
}

RandomWorkout::CountRange RandomWorkout::segmentCountRange(int seconds)
{
    const float t = static_cast<float>(seconds);
    if (seconds <= 1200) {
        const int hi = nearestInt(t / 75.0f * 1.2f);
        return {nearestInt(static_cast<float>(hi) * 0.8f), hi};
    }
    const int hi = nearestInt(t / 90.0f);
    return {nearestInt(static_cast<float>(hi) * 0.7f), hi};
}

Workout RandomWorkout::make(const GeneratorParameters& parameters, const Machine& machine,
                            double weightPounds, RandomDraws& draws)
{
    // Outside these times the segment count could leave no middle segment.
    const int total = std::clamp(snappedTime(parameters.time), P::kMinTime, P::kMaxTime);
    draws.reseed();
    const CountRange range = segmentCountRange(total);
    const int count =
        std::min(static_cast<int>(std::floor(static_cast<float>(range.hi - range.lo) * draws.draw()
                                             + static_cast<float>(range.lo))),
                 Workout::kMaxSegments);

    Run run{parameters, machine, draws, count};
    run.build(total);
    run.workout.setWeight(weightPounds);
    run.workout.setCurrent(run.current);
    return std::move(run.workout);
}

} // namespace kntr
