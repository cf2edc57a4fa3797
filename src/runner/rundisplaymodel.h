#pragma once

#include "model/targettexts.h"

#include <QString>

namespace kntr {

class SettingsStore;
struct Session;

/// What the run display shows during a live run, without widgets: the segment
/// being run with its targets and the time left in it, the time elapsed in the
/// workout and its total, the next segment's targets and how far the workout
/// has come. It is fed what the run engine tells its view (RunView), and reads
/// the rest from the workout; speeds follow the units and the speed display
/// (speed or pace) the run speaks them in.
class RunDisplayModel {
public:
    RunDisplayModel(const Session& session, const SettingsStore& settings);

    /// A run begins: takes the speed display and the workout's total time.
    void begin();
    /// The segment being run (1-based) with its targets as the run shows them.
    void showSegment(int segment, const QString& first, const QString& second);
    /// The time left in the segment being run, "m:ss".
    void showTimeLeft(const QString& text);

    /// "Segment 3 of 10".
    QString segmentText() const;
    /// The first target's caption with its unit: "Speed mph", "1/Speed min/km", "Resist.".
    QString firstCaption() const;
    QString secondCaption() const;
    const QString& firstText() const { return mFirst; }
    const QString& secondText() const { return mSecond; }
    const QString& timeLeftText() const { return mTimeLeft; }
    /// The time since the start of the workout, as far as the segment being run
    /// has come, "m:ss".
    QString elapsedText() const;
    /// The workout's total time, "m:ss".
    QString totalText() const;
    /// "Next: Speed 6.5, Incline 2", or "Next: end of workout" during the last segment.
    QString nextText() const;
    /// How far the workout has come, 0 to 1000.
    int progress() const;

private:
    double elapsedSeconds() const;

    const Session& mSession;
    const SettingsStore& mSettings;
    SpeedDisplay mDisplay = SpeedDisplay::Value;
    int mSegment = 0;
    int mLeftSeconds = 0;
    double mTotalSeconds = 0;
    QString mFirst;
    QString mSecond;
    QString mTimeLeft;
};

} // namespace kntr
