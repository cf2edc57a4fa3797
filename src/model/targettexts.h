#pragma once

#include <QString>

namespace kntr {

class Machine;
class SettingsStore;

/// How the first attribute is shown: its value (speed or resistance), or pace,
/// the minutes a mile or kilometre takes.
enum class SpeedDisplay { Value, Pace };

/// The display the user chose (options/distMode), as the machine allows it: a
/// machine whose first attribute is resistance always shows the value.
SpeedDisplay speedDisplay(const Machine& machine, const SettingsStore& settings);

/// The caption of the first attribute: its design label ("Speed", "Resist."),
/// or "1/" and it for pace.
QString speedCaption(const Machine& machine, SpeedDisplay display);

/// A segment's first attribute as the speed box shows it and the run speaks it:
/// a speed per hour in the machine's units with one decimal, or its pace;
/// a resistance as it is. Numbers carry the system's decimal separator.
QString firstTargetText(const Machine& machine, double value, SpeedDisplay display);
/// A segment's second attribute (incline or resistance) as its box shows it.
QString secondTargetText(double value);

} // namespace kntr
