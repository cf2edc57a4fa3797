#include "segment.h"

namespace kntr {

double Segment::SegmentDistance() const
{
    return mTime * mSpeed / 3600.0;
}

namespace {

struct CalorieFormula {
    double incline, constant, speed, weight;

    double kcal(double s, double i, double w, double t) const
    {
        return (i * incline + constant + s * speed + w * weight) * t / 3600.0;
    }
};

struct SpeedBand {
    CalorieFormula first;
    double threshold;
    CalorieFormula second;
};

const SpeedBand& bandFor(double speed)
{
    static const SpeedBand walking{{27.66, -223.6, 60.9, 1.811}, 388, {52.68, -693.4, 125.1, 2.847}};
    static const SpeedBand brisk{{33.17, -981.3, 227.9, 2.441}, 596, {40.73, -1924, 374.5, 4.157}};
    static const SpeedBand running{{29.72, -545.6, 98.88, 4.219}, 917, {49.98, -1458, 178.8, 6.445}};
    if (speed <= 4.0)
        return walking;
    if (speed < 5.0)
        return brisk;
    return running;
}

} // namespace

double Segment::SegmentCalories() const
{
    // The threshold applies to this segment's own total, not to the hourly rate.
    const SpeedBand& band = bandFor(mSpeed);
    const double first = band.first.kcal(mSpeed, mIncline, mWeight, mTime);
    if (first >= band.threshold)
        return band.second.kcal(mSpeed, mIncline, mWeight, mTime);
    return first;
}

} // namespace kntr
