#pragma once

#include "model/units.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace kntr {

class Machine;

/// One label of a value axis: its text and the value (in whole units) it marks.
struct AxisLabel {
    QString text;
    double value = 0;
};

/// The five time-axis labels at 0, 1/4, 2/4, 3/4 and 4/4 of the workout time.
std::array<QString, 5> timeAxisLabels(double totalSeconds);

/// The six left-axis labels, top to bottom, each followed by a dash; in
/// kilometres the values are shown × 1.61 to one decimal.
std::array<AxisLabel, 6> leftAxisLabels(int maxTenths, bool kilometres);

/// The right-axis labels, top to bottom, each after a dash. A machine maximum of
/// 5 has five; the sixth label then keeps whatever it showed before (nullopt).
std::array<std::optional<AxisLabel>, 6> rightAxisLabels(int maxTenths);

/// The rotated caption of the left axis: attribute one's axis title, or its
/// pace form "1/..." when the speed is shown as time per distance.
QString leftAxisCaption(const Machine& machine, bool pace);
/// The rotated caption of the right axis: attribute two's axis title.
QString rightAxisCaption(const Machine& machine);

/// The scales and captions of the profile for what the editor shows; the
/// window's profile and the printed picture take them alike.
struct ProfileScales {
    int speedTop = 0; ///< the bottom of the speed scale, in tenths (scaleTop)
    int inclineTop = 0; ///< the bottom of the incline scale, in tenths
    std::array<AxisLabel, 6> left;
    std::array<std::optional<AxisLabel>, 6> right;
    QString valueCaption; ///< the left caption while speeds show as values
    QString paceCaption; ///< the left caption while speeds show as pace
    QString rightCaption;
    bool pace = false; ///< whether speeds show as pace
};

/// The scales for the machine's speed and incline ranges (the editing
/// controls' ranges), speeds shown as pace or not; the left labels are in km/h
/// where speedInKilometres says so.
ProfileScales profileScales(const Machine& machine, bool pace);

} // namespace kntr
