#include "workoutfit.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/workout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kntr {

int fitTenths(double value, int step, int minimum, int maximum)
{
    if (!std::isfinite(value))
        return minimum;
    double v = step > 0 ? roundHalfEven(value * 10.0 / step) * step : roundHalfEven(value * 10.0);
    // The machine's values are 16-bit; a value beyond them is as good as beyond the range.
    v = std::clamp(v, double(INT16_MIN), double(INT16_MAX));
    int tenths = static_cast<int>(v);
    if (tenths < minimum)
        tenths = minimum;
    if (tenths > maximum)
        tenths = maximum;
    return tenths;
}

void fitWorkoutToMachine(Workout& workout, const Machine& machine)
{
    for (int i = 1; i <= workout.count(); ++i) {
        Segment& s = workout.segment(i);
        s.setSegmentSpeed(
            fitTenths(s.SegmentSpeed(), machine.AttOneInc(), machine.AttOneMin(), machine.AttOneMax())
            / 10.0);
        s.setSegmentIncline(fitTenths(s.SegmentIncline(), machine.AttTwoInc(), machine.AttTwoMin(),
                                      machine.AttTwoMax())
                            / 10.0);
    }
}

} // namespace kntr
