#include "rundisplaymodel.h"

#include "model/machine.h"
#include "model/session.h"
#include "model/totals.h"
#include "model/typedvalues.h"

#include <algorithm>

namespace kntr {

RunDisplayModel::RunDisplayModel(const Session& session, const SettingsStore& settings)
    : mSession(session)
    , mSettings(settings)
{
    begin();
}

void RunDisplayModel::begin()
{
    mDisplay = speedDisplay(mSession.machine, mSettings);
    mTotalSeconds = mSession.workout.totalSeconds();
    mSegment = 0;
    mLeftSeconds = 0;
    mFirst = mSecond = QString();
    mTimeLeft = QStringLiteral("0:00");
}

void RunDisplayModel::showSegment(int segment, const QString& first, const QString& second)
{
    mSegment = std::clamp(segment, 0, mSession.workout.count());
    mFirst = first;
    mSecond = second;
    mLeftSeconds = mSegment > 0 ? static_cast<int>(mSession.workout.segment(mSegment).SegmentTime()) : 0;
}

void RunDisplayModel::showTimeLeft(const QString& text)
{
    mTimeLeft = text;
    mLeftSeconds = secondsFromText(text).value_or(mLeftSeconds);
}

QString RunDisplayModel::segmentText() const
{
    return QStringLiteral("Segment %1 of %2").arg(mSegment).arg(mSession.workout.count());
}

QString RunDisplayModel::firstCaption() const
{
    const Machine& machine = mSession.machine;
    const QString caption = speedCaption(machine, mDisplay);
    if (machine.firstAttributeIsResistance())
        return caption;
    const bool km = machine.units() == Units::Kilometres;
    if (mDisplay == SpeedDisplay::Pace)
        return caption + (km ? QStringLiteral(" min/km") : QStringLiteral(" min/mile"));
    return caption + (km ? QStringLiteral(" km/h") : QStringLiteral(" mph"));
}

QString RunDisplayModel::secondCaption() const
{
    return mSession.machine.AttTwoDesignLabel();
}

double RunDisplayModel::elapsedSeconds() const
{
    const Workout& workout = mSession.workout;
    if (mSegment < 1)
        return 0;
    double before = 0;
    for (int i = 1; i < mSegment; ++i)
        before += workout.segment(i).SegmentTime();
    const double length = workout.segment(mSegment).SegmentTime();
    return before + std::clamp(length - mLeftSeconds, 0.0, length);
}

QString RunDisplayModel::elapsedText() const
{
    return minutesSecondsText(elapsedSeconds());
}

QString RunDisplayModel::totalText() const
{
    return minutesSecondsText(mTotalSeconds);
}

QString RunDisplayModel::nextText() const
{
    const Workout& workout = mSession.workout;
    if (mSegment < 1)
        return QString();
    if (mSegment >= workout.count())
        return QStringLiteral("Next: end of workout");
    const Segment& next = workout.segment(mSegment + 1);
    return QStringLiteral("Next: %1 %2, %3 %4")
        .arg(speedCaption(mSession.machine, mDisplay),
             firstTargetText(mSession.machine, next.SegmentSpeed(), mDisplay),
             mSession.machine.AttTwoDesignLabel(), secondTargetText(next.SegmentIncline()));
}

int RunDisplayModel::progress() const
{
    if (mTotalSeconds <= 0)
        return 0;
    return std::clamp(static_cast<int>(elapsedSeconds() * 1000 / mTotalSeconds), 0, 1000);
}

} // namespace kntr
