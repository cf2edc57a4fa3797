#pragma once

#include "segment.h"

#include <QString>

#include <vector>

namespace kntr {

class Machine;
class SettingsStore;

/// The ordered list of segments being edited or run, indexed from 1.
///
/// Slots above the segment count keep their old values and are reused when the
/// workout grows again; a slot is made with default values when first touched.
class Workout {
public:
    static constexpr int kMaxSegments = 60;

    Workout();

    int count() const { return mCount; }
    /// Sets the number of segments in use (clamped to 1..60), making slots as needed.
    void setCount(int count);
    bool isFull() const { return mCount >= kMaxSegments; }

    /// The segment being edited, or being played during a run; 0 when none.
    int current() const { return mCurrent; }
    void setCurrent(int index) { mCurrent = index; }

    /// Segment at index 1..60; the slot is made on first use.
    Segment& segment(int index);
    /// Segment at index 1..count.
    const Segment& segment(int index) const;

    /// The segments in use, in order.
    const Segment* begin() const { return mSlots.data(); }
    const Segment* end() const { return mSlots.data() + mCount; }

    /// Inserts a copy of segment index (1..count) after it. A full workout, or
    /// an index outside it, stays as it is: returns false.
    bool insertCopyAfter(int index);
    /// Removes segment index (1..count); the current segment stays within the
    /// workout. A one-segment workout stays as it is: returns false.
    bool remove(int index);

    /// The length of the workout: the segments' times added in order, seconds.
    double totalSeconds() const;

    /// Writes the body weight into every segment in use.
    void setWeight(double pounds);

private:
    std::vector<Segment> mSlots;
    int mCount = 1;
    int mCurrent = 1;
};

/// Whether two workouts hold the same segments (speed, incline and time) in the same order.
bool sameSegments(const Workout& a, const Workout& b);

/// The text shown when a segment cannot be added to a full workout.
extern const char* const kWorkoutFullMessage;

/// The user's body weight as stored (user/weight, 160 when absent), kept within
/// the weights the program takes; a value that is not a whole number reads as 160.
int storedWeightPounds(const SettingsStore& settings);

/// The file the default workout is remembered as: default.txt in userDataDir.
/// It exists only once the user has saved the default workout.
QString defaultWorkoutPath(const QString& userDataDir);

/// Replaces the workout with the ten-segment default workout and makes
/// defaultWorkoutPath the remembered workout file.
void DefaultWorkout(Workout& workout, SettingsStore& settings, const QString& userDataDir);

/// Replaces the workout with one 60-second segment at the machine's lowest
/// values, as File > New does, and forgets the remembered workout file.
void NewWorkout(Workout& workout, const Machine& machine, SettingsStore& settings);

} // namespace kntr
