#include "spokencue.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/segment.h"

#include <cmath>

namespace kntr {

std::array<QString, 3> SpokenCue::numberWords(double value, QChar separator)
{
    const QString text = plainNumber(value, separator);
    std::array<QString, 3> words;
    if (value < 13.0) {
        words[0] = QString::number(static_cast<long long>(std::floor(value)));
    } else {
        words[0] = text.mid(0, 1);
        words[1] = text.mid(1, 1);
    }
    words[2] = text.contains(separator) ? text.right(1) : QStringLiteral("0");
    return words;
}

double SpokenCue::firstValue(const Segment& segment, const Machine& machine, Units units)
{
    // An "Elliptical" holds resistance as attribute one, which has no km/h.
    const bool speed = machine.MachineType() != QLatin1String("Elliptical");
    if (units == Units::Kilometres && speed)
        return roundHalfEven(segment.SegmentSpeed() * kKilometresPerMile, 1);
    return segment.SegmentSpeed();
}

SpokenCue::Words SpokenCue::words(const Segment& segment, const Machine& machine, Units units,
                                  QChar separator)
{
    const std::array<QString, 3> one = numberWords(firstValue(segment, machine, units), separator);
    const std::array<QString, 3> two = numberWords(segment.SegmentIncline(), separator);
    const QString point = QStringLiteral("point");
    return {machine.AttOneVoiceCue().trimmed(), one[0], one[1], point, one[2],
            machine.AttTwoVoiceCue().trimmed(), two[0], two[1], point, two[2]};
}

} // namespace kntr
