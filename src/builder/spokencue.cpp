#include "spokencue.h"

#include "tones/voicecues.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/segment.h"

#include <cmath>

namespace kntr {

std::array<QString, 3> SpokenCue::numberWords(double value, QChar separator)
{
    // As the live run speaks it: the whole part in one or two clips, then the last digit.
    const QStringList words = VoiceCues::numberWords(plainNumber(value, separator), separator);
    // The whole part in one clip or two, then "point" and the last digit.
    if (words.size() == 3)
        return {words[0], QString(), words[2]};
    return {words[0], words[1], words[3]};
}

double SpokenCue::firstValue(const Segment& segment, const Machine& machine, Units units)
{
    if (speedInKilometres(machine, units))
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
