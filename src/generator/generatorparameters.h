#pragma once

#include <array>

namespace kntr {

class Machine;
class SettingsStore;

/// One of the four fixed segments of a generated workout: the two warm-ups at
/// the start and the two cool-downs at the end.
struct FixedSegment {
    int seconds = 60;
    int speed = 0; ///< attribute one, tenths
    int incline = 0; ///< attribute two, tenths

    bool operator==(const FixedSegment&) const = default;
};

/// What the random workout generator makes a workout from: the total time, the
/// speed and incline ranges with their patterns and biases, and the fixed
/// segments. Speeds and inclines are the machine's integer tenths, times seconds.
///
/// The values persist in the settings section "RandomWork".
struct GeneratorParameters {
    /// Speed patterns (Random, Interval, FastSlow) and incline patterns (Random,
    /// Interval, Hill) share their indices.
    enum Pattern { Random = 0, Interval = 1, FastSlow = 2, Hill = 2 };
    /// The three biases of a pattern: the ramp, the interval spacing, the peak.
    enum Bias { Ramp = 0, Spacing = 1, Peak = 2 };
    /// The fixed segments by index.
    enum Fixed { FirstWarmUp = 0, SecondWarmUp = 1, FirstCoolDown = 2, SecondCoolDown = 3 };

    static constexpr int kMinTime = 600;
    static constexpr int kMaxTime = 3600;
    static constexpr int kTimeStep = 60;
    static constexpr int kMinFixedSeconds = 30;
    static constexpr int kMaxFixedSeconds = 240;
    static constexpr int kPatternCount = 3;
    /// Slider ranges and defaults of the biases, by Bias.
    static constexpr std::array<int, 3> kBiasMin{1, 2, 0};
    static constexpr std::array<int, 3> kBiasMax{100, 10, 100};
    static constexpr std::array<int, 3> kBiasDefault{25, 9, 65};

    int time = kMaxTime;
    int speedMin = 0;
    int speedMax = 0;
    int speedPattern = Random;
    int inclineMin = 0;
    int inclineMax = 0;
    int inclinePattern = Random;
    std::array<int, 3> speedBias = kBiasDefault;
    std::array<int, 3> inclineBias = kBiasDefault;
    std::array<FixedSegment, 4> fixed{};

    /// The parameters as the generator window starts with them for the machine:
    /// the stored values, each absent or unreadable one at its default, each
    /// kept within its slider's range. The speed and incline ranges are snapped
    /// to the machine's steps as a move of their sliders snaps them, and a
    /// maximum is never below its minimum.
    static GeneratorParameters stored(const SettingsStore& settings, const Machine& machine);

    /// Stores every value, in the order speed max and min, speed pattern,
    /// incline max and min, incline pattern, time, the four speeds, inclines and
    /// times of the fixed segments, and the six biases.
    void save(SettingsStore& settings) const;

    bool operator==(const GeneratorParameters&) const = default;
};

/// A range slider's value as a move of the slider leaves it: snapped down to a
/// multiple of step (a step below 1 counts as 1), then kept within min .. max.
int snapRangeValue(int value, int step, int min, int max);

} // namespace kntr
