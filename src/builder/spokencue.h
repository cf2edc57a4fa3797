#pragma once

#include "model/units.h"

#include <QChar>
#include <QString>

#include <array>

namespace kntr {

class Machine;
class Segment;

/// The words spoken after a segment's control tone in a workout file: ten clip
/// slots, an empty slot saying nothing.
///
/// | 1 | attribute one's cue word | 2, 3 | its whole part | 4 | "point" | 5 | its tenths |
/// | 6 | attribute two's cue word | 7, 8 | its whole part | 9 | "point" | 10 | its tenths |
///
/// A value below 13 speaks its whole part as one clip ("12"); from 13 on, the first
/// two characters of its text one by one ("1", "5"). The tenths are the last
/// character of the text when it has a decimal separator, else "0".
class SpokenCue {
public:
    static constexpr int kSlots = 10;
    using Words = std::array<QString, kSlots>;

    /// In kilometre units a speed is spoken in km/h (× 1.61, one decimal); a
    /// resistance held as attribute one stays as it is.
    static Words words(const Segment& segment, const Machine& machine, Units units, QChar separator);

    /// Slots for one value: the whole part's two slots and the tenths.
    static std::array<QString, 3> numberWords(double value, QChar separator);

    /// The value spoken for attribute one.
    static double firstValue(const Segment& segment, const Machine& machine, Units units);
};

} // namespace kntr
