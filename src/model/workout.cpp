#include "workout.h"

#include "machine.h"
#include "storedsettings.h"
#include "platform/settingsstore.h"

#include <QDir>

#include <algorithm>
#include <cassert>

namespace kntr {

const char* const kWorkoutFullMessage = "You have reached the maximum number of segments\r"
                                        "per workout. No additional segments can be added.";

Workout::Workout()
    : mSlots(1)
{
}

double Workout::totalSeconds() const
{
    double total = 0;
    for (const Segment& s : *this)
        total += s.SegmentTime();
    return total;
}

bool Workout::insertCopyAfter(int index)
{
    if (isFull() || index < 1 || index > mCount)
        return false;
    setCount(mCount + 1);
    std::copy_backward(mSlots.begin() + index - 1, mSlots.begin() + mCount - 1, mSlots.begin() + mCount);
    return true;
}

bool Workout::remove(int index)
{
    if (mCount <= 1 || index < 1 || index > mCount)
        return false;
    std::copy(mSlots.begin() + index, mSlots.begin() + mCount, mSlots.begin() + index - 1);
    --mCount;
    mCurrent = std::min(mCurrent, mCount);
    return true;
}

void Workout::setCount(int count)
{
    mCount = std::clamp(count, 1, kMaxSegments);
    if (static_cast<int>(mSlots.size()) < mCount)
        mSlots.resize(mCount);
}

Segment& Workout::segment(int index)
{
    assert(index >= 1 && index <= kMaxSegments);
    if (static_cast<int>(mSlots.size()) < index)
        mSlots.resize(index);
    return mSlots[index - 1];
}

const Segment& Workout::segment(int index) const
{
    assert(index >= 1 && index <= static_cast<int>(mSlots.size()));
    return mSlots[index - 1];
}

void Workout::setWeight(double pounds)
{
    for (int i = 1; i <= mCount; ++i)
        segment(i).setSegmentWeight(pounds);
}

bool sameSegments(const Workout& a, const Workout& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Segment& x, const Segment& y) {
        return x.SegmentSpeed() == y.SegmentSpeed() && x.SegmentIncline() == y.SegmentIncline()
            && x.SegmentTime() == y.SegmentTime();
    });
}

int storedWeightPounds(const SettingsStore& settings)
{
    bool ok = false;
    const int pounds = UserSettings(settings).weightText(QStringLiteral("160")).trimmed().toInt(&ok);
    return ok ? std::clamp(pounds, kMinWeightPounds, kMaxWeightPounds) : 160;
}

QString defaultWorkoutPath(const QString& userDataDir)
{
    QString folder = QDir::cleanPath(userDataDir);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("default.txt");
}

void DefaultWorkout(Workout& workout, SettingsStore& settings, const QString& userDataDir)
{
    struct Row {
        double speed, incline, seconds;
    };
    static constexpr Row rows[] = {
        {1.0, 1.0, 60},  {2.0, 1.0, 120}, {4.0, 1.0, 240}, {3.0, 2.0, 480}, {3.0, 3.0, 240},
        {2.0, 5.0, 120}, {2.0, 6.0, 120}, {4.0, 2.0, 180}, {3.0, 1.0, 180}, {2.0, 1.0, 60},
    };
    workout.setCount(std::size(rows));
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        Segment& s = workout.segment(i + 1);
        s.setSegmentSpeed(rows[i].speed);
        s.setSegmentIncline(rows[i].incline);
        s.setSegmentTime(rows[i].seconds);
    }
    workout.setCurrent(1);

    FileSettings file(settings);
    file.setLastDirectory(QDir::cleanPath(userDataDir));
    file.setLastFile(defaultWorkoutPath(userDataDir));
}

void NewWorkout(Workout& workout, const Machine& machine, SettingsStore& settings)
{
    workout.setCurrent(1);
    workout.setCount(1);
    Segment& first = workout.segment(1);
    first.setSegmentSpeed(machine.AttOneMin() / 10.0);
    first.setSegmentIncline(machine.AttTwoMin() / 10.0);
    first.setSegmentTime(60);
    FileSettings(settings).setLastFile(QString());
}

} // namespace kntr
