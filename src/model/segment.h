#pragma once

namespace kntr {

/// A segment lasts from 10 seconds to an hour.
inline constexpr int kMinSegmentSeconds = 10;
inline constexpr int kMaxSegmentSeconds = 3600;
/// The body weights the program takes, in pounds.
inline constexpr int kMinWeightPounds = 80;
inline constexpr int kMaxWeightPounds = 300;

/// One segment of a workout: targets for the machine's two attributes and a
/// duration. Values are held in mph (or level), percent (or level), seconds and
/// pounds whatever the user displays.
class Segment {
public:
    /// Attribute one (speed, or resistance on an "Elliptical").
    double SegmentSpeed() const { return mSpeed; }
    void setSegmentSpeed(double value) { mSpeed = value; }

    /// Attribute two (incline, or resistance on a "Bike" or "Elliptical Type A").
    double SegmentIncline() const { return mIncline; }
    void setSegmentIncline(double value) { mIncline = value; }

    /// Duration in seconds.
    double SegmentTime() const { return mTime; }
    void setSegmentTime(double value) { mTime = value; }

    /// The user's body weight in pounds, used by the calorie formula.
    void setSegmentWeight(double value) { mWeight = value; }

    /// Miles covered: time × speed ÷ 3600.
    double SegmentDistance() const;
    /// Kilocalories burnt, by the speed band's formulas; not clamped at zero.
    double SegmentCalories() const;

private:
    double mSpeed = 1.0;
    double mIncline = 1.0;
    double mTime = 6.0;
    double mWeight = 160.0;
};

} // namespace kntr
