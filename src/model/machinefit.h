#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace kntr {

class Machine;
class SettingsStore;
class Workout;

/// Fits one value into a machine range given in tenths: snaps it to a multiple
/// of the step counted from 0 (halves to even), then clamps it to the minimum
/// and the maximum. Returns tenths. A step of 0 or less only rounds to tenths.
int fitTenths(double value, int step, int minimum, int maximum);

/// Fits attribute one and two of every segment in use into the machine's ranges.
void fitWorkoutToMachine(Workout& workout, const Machine& machine);

/// Reads the stored profile as the program starts with it: type, units and
/// ranges from the settings, and labels and choice lists for the type. A stored
/// type that is none of the five counts as the first of them.
void loadStoredMachine(Machine& machine, const SettingsStore& settings);

/// A choice of the machine window's range lists read as a number: "," read as
/// ".", anything that is no number as 0.
double choiceValue(const QString& text);
/// The same in tenths, held to the 16 bits a machine value has.
std::int16_t choiceTenths(const QString& text);
/// A range value as the choice lists write it: with the system's decimal separator.
QString choiceText(double value);

/// A machine profile as a workout file or the machine window gives it: the
/// type's name, the units, and the six range values (speed minimum, maximum and
/// step in the machine's own unit, then the same for incline) in whole units.
struct MachineChoice {
    QString machineType;
    bool metric = false;
    std::array<double, 6> ranges{};
};

/// Takes a choice into the profile as the machine window's lists can hold it.
/// A type that is none of the five leaves the profile's type (or the first
/// type when that is none of them either). Each range takes the given value
/// when it is one of the type's choices for that range; otherwise it keeps the
/// profile's value when that is one of them, and else takes the first choice.
/// The units follow the choice. Nothing is stored.
void applyMachineChoice(Machine& machine, const MachineChoice& choice);

/// What saving a profile stores besides the profile itself: the generator's
/// warm-up and cool-down segments start again from the machine's minimums.
void storeFixedSegmentsForMachine(SettingsStore& settings, const Machine& machine);

} // namespace kntr
