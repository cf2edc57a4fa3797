#include "editor.h"

#include "axislabels.h"

#include "model/numbers.h"
#include "model/session.h"
#include "model/storedsettings.h"
#include "model/targettexts.h"
#include "model/totals.h"
#include "model/typedvalues.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <algorithm>
#include <cstdlib>

namespace kntr {

/// Collects the changes of one operation, however deeply the handlers nest,
/// and reports them once when the outermost operation ends.
class Editor::Batch {
public:
    explicit Batch(Editor& editor)
        : mEditor(editor)
    {
        ++mEditor.mDepth;
    }
    ~Batch()
    {
        if (--mEditor.mDepth == 0 && mEditor.mPending != 0) {
            const unsigned changes = mEditor.mPending;
            mEditor.mPending = 0;
            emit mEditor.changed(changes);
        }
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

private:
    Editor& mEditor;
};

Editor::Editor(Session& session, SettingsStore& settings, MessageBoxes& messages, Clock& clock,
               QObject* parent)
    : QObject(parent)
    , mSession(session)
    , mSettings(settings)
    , mMessages(messages)
    , mClock(clock)
{
    ctl(Field::Segment) = {1, 1, 1, 1, 1};
    ctl(Field::Time) = {kMinTime, kMaxTime, 1, 10, kMinTime};
    ctl(Field::Weight) = {kMinPounds, kMaxPounds, 1, 1,
                          std::clamp(session.weightPounds, kMinPounds, kMaxPounds)};
    applyMachineRanges();
}

void Editor::setValue(Field field, int value)
{
    Control& c = ctl(field);
    if (value < c.min || value > c.max || value == c.value)
        return;
    Batch batch(*this);
    c.value = value;
    touch(Scrolls);
    runHandler(field);
}

void Editor::runHandler(Field field)
{
    switch (field) {
    case Field::Segment:
        showSelectedSegment();
        break;
    case Field::Speed:
        storeSpeed();
        break;
    case Field::Incline:
        storeIncline();
        break;
    case Field::Time:
        storeTime();
        break;
    case Field::Weight:
        storeWeight();
        break;
    }
}

void Editor::showSelectedSegment()
{
    Batch batch(*this);
    Workout& workout = mSession.workout;
    const bool wasModified = mSession.modified;

    const int current = std::clamp(control(Field::Segment).value, 1, workout.count());
    workout.setCurrent(current);
    mTexts[index(Field::Segment)] = QString::number(current);
    Segment& segment = workout.segment(current);

    // Load the segment into the controls; the handlers store values limited to
    // the machine's ranges back into the segment.
    Control& speed = ctl(Field::Speed);
    speed.value = std::clamp(toTenths(segment.SegmentSpeed()), speed.min, speed.max);
    storeSpeed();
    Control& incline = ctl(Field::Incline);
    incline.value = std::clamp(toTenths(segment.SegmentIncline()), incline.min, incline.max);
    storeIncline();
    if (segment.SegmentTime() < kMinTime)
        segment.setSegmentTime(kMinTime);
    const int seconds =
        std::clamp(static_cast<int>(roundHalfEven(segment.SegmentTime())), kMinTime, kMaxTime);
    if (seconds != control(Field::Time).value) {
        ctl(Field::Time).value = seconds;
        storeTime();
    }

    updateTextBoxes();
    touch(Scrolls | Graph);
    mSession.modified = wasModified; // selecting alone never marks the workout modified
    activate(Box::Segment);
}

void Editor::storeSpeed()
{
    if (mSession.workout.current() == 0)
        return;
    Batch batch(*this);
    mSession.modified = true;
    mSession.workout.segment(mSession.workout.current()).setSegmentSpeed(control(Field::Speed).value / 10.0);
    showSpeedText();
    touch(Graph);
    updateSums();
    activate(Box::Speed);
}

void Editor::storeIncline()
{
    if (mSession.workout.current() == 0)
        return;
    Batch batch(*this);
    mSession.modified = true;
    Segment& segment = mSession.workout.segment(mSession.workout.current());
    segment.setSegmentIncline(control(Field::Incline).value / 10.0);
    mTexts[index(Field::Incline)] = secondTargetText(segment.SegmentIncline());
    touch(Texts | Graph);
    updateSums();
    activate(Box::Incline);
}

bool Editor::recordTimeChange()
{
    std::rotate(mTimeTicks.begin(), mTimeTicks.begin() + 1, mTimeTicks.end());
    mTimeTicks.back() = mClock.tickMs();
    mTimeTickCount = std::min(mTimeTickCount + 1, 4);
    if (mTimeTickCount < 4)
        return false;
    const qint64 a = mTimeTicks[1] - mTimeTicks[0];
    const qint64 b = mTimeTicks[2] - mTimeTicks[1];
    const qint64 c = mTimeTicks[3] - mTimeTicks[2];
    return std::abs(a - b) <= kTickToleranceMs && std::abs(b - c) <= kTickToleranceMs;
}

void Editor::storeTime()
{
    Batch batch(*this);
    // A held arrow repeats at a steady rate: then the time moves 10 s a step.
    const int step = recordTimeChange() ? 10 : 1;
    if (step != control(Field::Time).step) {
        ctl(Field::Time).step = step;
        touch(Ranges);
    }
    mSession.modified = true;
    Workout& workout = mSession.workout;
    if (workout.current() != 0) {
        Segment& segment = workout.segment(workout.current());
        segment.setSegmentTime(control(Field::Time).value);
        mTexts[index(Field::Time)] = minutesSecondsText(segment.SegmentTime());
    }
    touch(Texts | Graph | TimeScale);
    updateSums();
    activate(Box::Time);
}

void Editor::storeWeight()
{
    Batch batch(*this);
    const int pounds = control(Field::Weight).value;
    UserSettings(mSettings).setWeight(pounds);
    mSession.weightPounds = pounds;
    mSession.workout.setWeight(pounds);
    updateSums();
    touch(Texts | WeightFocus);
}

void Editor::insertCopyOfCurrent()
{
    Workout& workout = mSession.workout;
    if (workout.isFull()) {
        mMessages.show(QString::fromLatin1(kWorkoutFullMessage), MessageBoxes::Icon::Information);
        return;
    }
    Batch batch(*this);
    const int current = workout.current();
    workout.insertCopyAfter(current);
    workout.setCurrent(current + 1);
    // The copy burns calories for the user's weight, whatever its slot held before.
    workout.segment(current + 1).setSegmentWeight(mSession.weightPounds);

    updateScrolls();
    touch(Graph | TimeScale);
    updateSums();
    mSession.modified = true;
}

void Editor::deleteCurrent()
{
    Workout& workout = mSession.workout;
    if (workout.count() <= 1)
        return;
    Batch batch(*this);
    workout.remove(workout.current());

    updateScrolls();
    touch(Graph | TimeScale);
    updateSums();
    mSession.modified = true;
}

QString Editor::speedCaptionForMode() const
{
    return kntr::speedCaption(mSession.machine, speedDisplay(mSession.machine, mSettings));
}

void Editor::toggleSpeedDisplay()
{
    Batch batch(*this);
    const QString label = mSession.machine.AttOneDesignLabelA();
    OptionsSettings options(mSettings);
    // A resistance is never shown as pace.
    const bool toPace = !mSession.machine.firstAttributeIsResistance() && !options.paceShown();
    mSpeedCaption = toPace ? QStringLiteral("1/") + label : label;
    options.setPaceShown(toPace);
    touch(Captions | ValueScales);
    // Redisplay the speed; only the way it is shown changed, not the workout.
    const bool wasModified = mSession.modified;
    storeSpeed();
    mSession.modified = wasModified;
}

bool Editor::paceShown() const
{
    return mSpeedCaption.startsWith(QStringLiteral("1/"));
}

void Editor::showSpeedText()
{
    const Workout& workout = mSession.workout;
    if (workout.current() == 0)
        return;
    const double speed = workout.segment(workout.current()).SegmentSpeed();
    mTexts[index(Field::Speed)] =
        firstTargetText(mSession.machine, speed, paceShown() ? SpeedDisplay::Pace : SpeedDisplay::Value);
    touch(Texts);
}

void Editor::updateTextBoxes()
{
    const Workout& workout = mSession.workout;
    if (workout.current() == 0)
        return;
    Batch batch(*this);
    const Segment& segment = workout.segment(workout.current());
    // The speed follows the speed label, as its change handler shows it, so the
    // box never contradicts its caption.
    showSpeedText();
    mTexts[index(Field::Incline)] = secondTargetText(segment.SegmentIncline());
    mTexts[index(Field::Time)] = minutesSecondsText(segment.SegmentTime());
    touch(Texts);
}

void Editor::updateScrolls()
{
    Batch batch(*this);
    Workout& workout = mSession.workout;
    Control& segment = ctl(Field::Segment);
    segment.max = workout.count();
    touch(Ranges | Scrolls);
    if (segment.value > segment.max) {
        segment.value = segment.max;
        showSelectedSegment();
    }
    setValue(Field::Segment, workout.current());
    const Segment& s = workout.segment(workout.current());
    setValue(Field::Speed, toTenths(s.SegmentSpeed()));
    setValue(Field::Incline, toTenths(s.SegmentIncline()));
    setValue(Field::Time, static_cast<int>(roundHalfEven(s.SegmentTime())));
}

void Editor::updateSums()
{
    Batch batch(*this);
    const Session& s = mSession;
    const Units units = s.machine.units();
    const WorkoutTotals totals = computeTotals(s.workout, s.machine.MachineType(), units);
    mTotals.time = minutesSecondsText(totals.seconds);
    mTotals.distance = totalDistanceText(totals.distance);
    mTotals.calories = totalCaloriesText(totals.calories);
    mTexts[index(Field::Weight)] = weightText(control(Field::Weight).value, units);
    if (s.workout.current() != 0)
        mTotals.segmentDistance =
            segmentDistanceText(s.workout.segment(s.workout.current()), s.machine.MachineType(), units);
    touch(Totals | Texts);
}

void Editor::selectSegment(int index)
{
    Batch batch(*this);
    Control& segment = ctl(Field::Segment);
    segment.max = mSession.workout.count();
    segment.value = std::clamp(index, 1, segment.max);
    touch(Ranges | Scrolls);
    showSelectedSegment();
}

void Editor::refreshAll()
{
    Batch batch(*this);
    selectSegment(mSession.workout.current());
    updateSums();
    touch(Everything & ~(ActiveBox | WeightFocus));
}

void Editor::applyMachineRanges()
{
    Batch batch(*this);
    const Machine& m = mSession.machine;
    auto apply = [](Control& c, int min, int max, int step) {
        c.min = min;
        c.max = std::max(min, max);
        c.step = c.page = std::max(1, step);
        c.value = std::clamp(c.value, c.min, c.max);
    };
    apply(ctl(Field::Speed), m.AttOneMin(), m.AttOneMax(), m.AttOneInc());
    apply(ctl(Field::Incline), m.AttTwoMin(), m.AttTwoMax(), m.AttTwoInc());
    mSpeedCaption = speedCaptionForMode();
    touch(Ranges | Scrolls | Graph | ValueScales | Captions);
}

void Editor::switchUnits(Units units)
{
    Batch batch(*this);
    SwitchUnits(mSession.machine, mSettings, units);
    // The speed label keeps the display mode the user chose (speed or pace).
    mSpeedCaption = speedCaptionForMode();
    const bool wasModified = mSession.modified;
    storeSpeed();
    mSession.modified = wasModified;
    updateSums();
    touch(Captions | ValueScales);
}

void Editor::applySpeedDisplayMode()
{
    Batch batch(*this);
    mSpeedCaption = speedCaptionForMode();
    showSpeedText();
    touch(Captions | ValueScales);
}

void Editor::setWeight(int pounds)
{
    Batch batch(*this);
    ctl(Field::Weight).value = std::clamp(pounds, kMinPounds, kMaxPounds);
    touch(Scrolls);
    storeWeight();
}

void Editor::setEditingEnabled(bool enabled)
{
    Batch batch(*this);
    mEditingEnabled = enabled;
    touch(Enabled);
}

bool Editor::keyPress(Field field, Key key)
{
    if (!mEditingEnabled)
        return false;
    const bool up = key == Key::Up || key == Key::Right;
    const bool down = key == Key::Down || key == Key::Left;
    const bool pageUp = key == Key::PageUp;
    const bool pageDown = key == Key::PageDown;
    if (!up && !down && !pageUp && !pageDown)
        return false;

    Batch batch(*this);
    const Control& c = control(field);
    int v = c.value;
    switch (field) {
    case Field::Time:
        // A second per arrow key; the ten-second step of a held scroll arrow is the scroll bar's own.
        if (up)
            v = std::min(kMaxTime, v + 1);
        else if (pageUp)
            v = std::min(kMaxTime, v + 10);
        else if (down)
            v = std::max(kMinTime, v - 1);
        else
            v = std::max(kMinTime, v - 10);
        break;
    case Field::Speed:
    case Field::Incline:
        if (up || pageUp)
            v = v >= c.max - c.step ? c.max : v + c.step;
        else
            v = v <= c.min + c.step ? c.min : v - c.step;
        break;
    case Field::Segment:
    case Field::Weight:
        v = (up || pageUp) ? std::min(c.max, v + 1) : std::max(c.min, v - 1);
        break;
    }
    setValue(field, v);
    return true;
}

QString Editor::enterText(Field field, const QString& text)
{
    if (!mEditingEnabled || (field != Field::Speed && field != Field::Incline && field != Field::Time))
        return QString();
    Batch batch(*this);
    const QString shown = this->text(field);
    const QString typed = text.trimmed();
    const Control& c = control(field);
    std::optional<int> value;
    QString caption;
    switch (field) {
    case Field::Speed:
        caption = mSpeedCaption;
        if (const std::optional<double> v = firstTargetFromText(
                mSession.machine, typed, paceShown() ? SpeedDisplay::Pace : SpeedDisplay::Value))
            value = toTenths(*v);
        break;
    case Field::Incline:
        caption = mSession.machine.AttTwoDesignLabel();
        if (const std::optional<double> v = numberFromText(typed))
            value = toTenths(*v);
        break;
    default:
        caption = QStringLiteral("Time");
        value = secondsFromText(typed);
        break;
    }

    QString note;
    if (!value) {
        note = field == Field::Time
            ? QStringLiteral("\"%1\" is not a time (type m:ss or seconds); Time stays %2.").arg(typed, shown)
            : QStringLiteral("\"%1\" is not a value for %2 (type a number such as %3); it stays %3.")
                  .arg(typed, caption, shown);
    } else {
        // The time takes any whole second; the held-arrow step is the scroll bar's.
        const int snapped = snapToStep(*value, c.min, c.max, field == Field::Time ? 1 : c.step);
        setValue(field, snapped);
    }
    updateTextBoxes();
    touch(Texts);
    if (value && (*value < c.min || *value > c.max))
        note =
            QStringLiteral("\"%1\" is out of range; %2 is set to %3.").arg(typed, caption, this->text(field));
    // Typing never moves the focus: the box keeps it after Enter, and the
    // control the user went on to keeps it after leaving the box.
    mPending &= ~ActiveBox;
    return note;
}

void Editor::activate(Box box)
{
    if (box == Box::None)
        return;
    Batch batch(*this);
    mActive = box;
    touch(ActiveBox);
}

void Editor::graphPress(int segment, int x, int y, Button button)
{
    if (!mEditingEnabled)
        return;
    Batch batch(*this);
    const Box active = mActive == Box::Segment ? Box::None : mActive;
    mPressX = x;
    mPressY = y;
    // Right of the last column (and in its gap) the last segment is meant.
    if (segment == 0)
        segment = mSession.workout.count();
    setValue(Field::Segment, segment);

    if (button == Button::Right) {
        switch (active) {
        case Box::None:
        case Box::Segment:
        case Box::Time:
            activate(Box::Speed);
            break;
        case Box::Speed:
            activate(Box::Incline);
            break;
        case Box::Incline:
            activate(Box::Time);
            break;
        }
    } else {
        activate(active);
    }
}

void Editor::graphMove(int x, int y, bool leftButtonHeld)
{
    if (!mEditingEnabled || !leftButtonHeld)
        return;
    Batch batch(*this);
    const int dx = x - mPressX;
    const int dy = y - mPressY;
    switch (mActive) {
    case Box::Time:
        if (std::abs(dx) > 1 && std::abs(dy) < 200)
            keyPress(Field::Time, dx < 0 ? Key::PageDown : Key::PageUp);
        break;
    case Box::Speed:
    case Box::Incline:
        if (std::abs(dy) > 1 && std::abs(dx) < 200)
            keyPress(mActive == Box::Speed ? Field::Speed : Field::Incline, dy < 0 ? Key::Up : Key::Down);
        break;
    case Box::None:
    case Box::Segment:
        break;
    }
    mPressX = x;
    mPressY = y;
}

QString Editor::distanceUnitText() const
{
    return mSession.machine.units() == Units::Kilometres ? QStringLiteral("km") : QStringLiteral("Miles");
}

} // namespace kntr
