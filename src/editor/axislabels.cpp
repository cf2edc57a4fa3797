#include "axislabels.h"

#include "graphgeometry.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/session.h"
#include "model/totals.h"

#include <algorithm>
#include <cmath>

namespace kntr {

std::array<QString, 5> timeAxisLabels(double totalSeconds)
{
    std::array<QString, 5> labels;
    labels[0] = QStringLiteral("0:00");
    for (int k = 1; k < 5; ++k)
        labels[k] = minutesSecondsText(totalSeconds * k / 4.0);
    return labels;
}

namespace {

/// The six tick values of an axis whose top is m, top to bottom. The tables
/// of the common machine maxima step by fifths down to 0 or by sixths; other
/// maxima step by sixths.
std::array<double, 6> tickValues(double m, bool rightAxis)
{
    std::array<double, 6> ticks{};
    const bool fifths = m == 5 || m == 10 || (rightAxis && m == 50);
    for (int i = 0; i < 6; ++i) {
        const double v = fifths ? m * (5 - i) / 5.0 : m * (6 - i) / 6.0;
        // Whole maxima get whole labels ("-21" for 25 × 5/6); others one decimal.
        ticks[i] = m == std::floor(m) ? roundHalfEven(v) : roundHalfEven(v, 1);
    }
    return ticks;
}

} // namespace

std::array<AxisLabel, 6> leftAxisLabels(int maxTenths, bool kilometres)
{
    const std::array<double, 6> ticks = tickValues(maxTenths / 10.0, false);
    std::array<AxisLabel, 6> labels;
    for (int i = 0; i < 6; ++i) {
        const QString number =
            kilometres ? displayNumber(ticks[i] * kKilometresPerMile, 1) : displayNumber(ticks[i], 1);
        labels[i] = {number + QLatin1Char('-'), ticks[i]};
    }
    return labels;
}

std::array<std::optional<AxisLabel>, 6> rightAxisLabels(int maxTenths)
{
    const double m = maxTenths / 10.0;
    std::array<std::optional<AxisLabel>, 6> labels;
    if (m == 5) {
        for (int i = 0; i < 5; ++i)
            labels[i] = AxisLabel{QLatin1Char('-') + displayNumber(5 - i, 0), 5.0 - i};
        return labels;
    }
    const std::array<double, 6> ticks = tickValues(m, true);
    for (int i = 0; i < 6; ++i)
        labels[i] = AxisLabel{QLatin1Char('-') + displayNumber(ticks[i], 1), ticks[i]};
    return labels;
}

QString leftAxisCaption(const Machine& machine, bool pace)
{
    const QString title = machine.AttOneYLabel().trimmed();
    return pace ? QStringLiteral("1/") + title : title;
}

QString rightAxisCaption(const Machine& machine)
{
    return machine.AttTwoYLabel().trimmed();
}

ProfileScales profileScales(const Machine& machine, bool pace)
{
    const int speedMax = std::max<int>(machine.AttOneMin(), machine.AttOneMax());
    const int inclineMax = std::max<int>(machine.AttTwoMin(), machine.AttTwoMax());
    ProfileScales scales;
    scales.speedTop = scaleTop(speedMax);
    scales.inclineTop = scaleTop(inclineMax);
    scales.left = leftAxisLabels(speedMax, speedInKilometres(machine));
    scales.right = rightAxisLabels(inclineMax);
    scales.valueCaption = leftAxisCaption(machine, false);
    scales.paceCaption = leftAxisCaption(machine, true);
    scales.rightCaption = rightAxisCaption(machine);
    scales.pace = pace;
    return scales;
}

} // namespace kntr
