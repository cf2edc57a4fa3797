#pragma once

namespace kntr {

class Machine;
class Workout;

/// Fits one value into a machine range given in tenths: snaps it to a multiple
/// of the step counted from 0 (halves to even), then clamps it to the minimum
/// and the maximum. Returns tenths. A step of 0 or less only rounds to tenths.
int fitTenths(double value, int step, int minimum, int maximum);

/// Fits attribute one and two of every segment in use into the machine's ranges.
void fitWorkoutToMachine(Workout& workout, const Machine& machine);

} // namespace kntr
