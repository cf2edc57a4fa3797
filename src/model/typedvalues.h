#pragma once

#include "targettexts.h"

#include <QString>

#include <optional>

namespace kntr {

class Machine;

/// A number as the user types it: "." or "," before the decimals, blanks
/// around it; nothing else.
std::optional<double> numberFromText(const QString& text);

/// A time as the user types it: "m:ss" (any minutes, seconds 00 to 59) or a
/// whole number of seconds.
std::optional<int> secondsFromText(const QString& text);

/// The first attribute's value as segments hold it (mph, or a resistance) for
/// text typed as the speed box shows it: a speed per hour in the machine's
/// units, or a pace in minutes per mile or kilometre (a number or "m:ss"); a
/// resistance as it is. Nothing for text that is no value or a pace of 0.
std::optional<double> firstTargetFromText(const Machine& machine, const QString& text, SpeedDisplay display);

/// value brought onto the nearest step of a control counting from min by step,
/// within min and max.
int snapToStep(int value, int min, int max, int step);

} // namespace kntr
