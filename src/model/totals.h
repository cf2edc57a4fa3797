#pragma once

#include "units.h"

#include <QString>

namespace kntr {

class Segment;
class Workout;

/// The sums over the segments in use, as the main window shows them.
struct WorkoutTotals {
    double seconds = 0;
    double distance = 0; ///< in the display units (miles or kilometres)
    double calories = 0;
};

/// Miles covered by a segment on the given machine type. An "Elliptical" holds
/// resistance in place of speed and has its own stride rule.
double segmentMiles(const Segment& segment, const QString& machineType);

WorkoutTotals computeTotals(const Workout& workout, const QString& machineType, Units units);

/// Minutes and two-digit seconds of a time in seconds ("0:00", "1:05", "30:00");
/// seconds that round to 60 carry into the minutes (59.6 s is "1:00").
QString minutesSecondsText(double seconds);
/// The total distance rounded to 3 decimals ("1.467").
QString totalDistanceText(double distance);
/// The total calories rounded to whole kilocalories.
QString totalCaloriesText(double calories);
/// One segment's distance with its unit ("0.05 mi", "2.361 km").
QString segmentDistanceText(const Segment& segment, const QString& machineType, Units units);
/// The weight box: pounds, or kilograms to one decimal in kilometre mode.
QString weightText(double pounds, Units units);
/// The unit after the weight box: "lb", or "kg" in kilometre mode.
QString weightUnitText(Units units);

} // namespace kntr
