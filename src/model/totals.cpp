#include "totals.h"

#include "machine.h"
#include "numbers.h"
#include "workout.h"

#include <cmath>

namespace kntr {

double segmentMiles(const Segment& segment, const QString& machineType)
{
    if (machineKind(machineType) == MachineKind::Elliptical)
        return (segment.SegmentSpeed() * 0.589 + 0.386) * segment.SegmentTime() / 3600.0;
    return segment.SegmentDistance();
}

WorkoutTotals computeTotals(const Workout& workout, const QString& machineType, Units units)
{
    WorkoutTotals totals;
    totals.seconds = workout.totalSeconds();
    for (int i = 1; i <= workout.count(); ++i) {
        const Segment& s = workout.segment(i);
        totals.distance += segmentMiles(s, machineType);
        totals.calories += s.SegmentCalories();
    }
    if (units == Units::Kilometres)
        totals.distance *= kKilometresPerMile;
    return totals;
}

QString minutesSecondsText(double seconds)
{
    double minutes = std::floor(seconds / 60.0);
    double rest = roundHalfEven(seconds - minutes * 60.0);
    if (rest >= 60) {
        minutes += 1;
        rest -= 60;
    }
    return plainNumber(minutes) + (rest <= 9 ? QStringLiteral(":0") : QStringLiteral(":"))
        + plainNumber(rest);
}

QString totalDistanceText(double distance)
{
    return displayNumber(distance, 3);
}

QString totalCaloriesText(double calories)
{
    return displayNumber(calories, 0);
}

QString segmentDistanceText(const Segment& segment, const QString& machineType, Units units)
{
    const double miles = segmentMiles(segment, machineType);
    if (units == Units::Kilometres)
        return displayNumber(miles * kKilometresPerMile, 3) + QStringLiteral(" km");
    return displayNumber(miles, 3) + QStringLiteral(" mi");
}

QString weightText(double pounds, Units units)
{
    if (units == Units::Kilometres)
        return displayNumber(pounds * kKilogramsPerPound, 1);
    return displayNumber(pounds, 0);
}

QString weightUnitText(Units units)
{
    return units == Units::Kilometres ? QStringLiteral("kg") : QStringLiteral("lb");
}

} // namespace kntr
