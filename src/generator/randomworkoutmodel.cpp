#include "randomworkoutmodel.h"

#include "model/numbers.h"
#include "model/session.h"
#include "model/targettexts.h"
#include "platform/clock.h"

#include <algorithm>

namespace kntr {

const QString RandomWorkoutModel::kCaption = QStringLiteral("Kinetrova - Random Workout Generator");
const QString RandomWorkoutModel::kParametersCaption = QStringLiteral("Set Workout Parameters");
const QString RandomWorkoutModel::kSegmentsCaption = QStringLiteral("Set Segment Parameters");
const QString RandomWorkoutModel::kAdjustCaption = QStringLiteral("&Adjust WarmUp/CoolDown");
const QString RandomWorkoutModel::kAcceptCaption = QStringLiteral("&Accept WarmUp/CoolDown");
const std::array<QString, 3> RandomWorkoutModel::kSpeedOptions = {
    QStringLiteral("&Random"), QStringLiteral("&Interval"), QStringLiteral("&Fast-Slow")};
const std::array<QString, 3> RandomWorkoutModel::kInclineOptions = {
    QStringLiteral("R&andom"), QStringLiteral("I&nterval"), QStringLiteral("&Hill")};
const std::array<QString, 3> RandomWorkoutModel::kBiasCaptions = {QStringLiteral("Ramp Up: slow - fast"),
                                                                  QStringLiteral("Intervals: few - many"),
                                                                  QStringLiteral("Peak: early - late")};
const std::array<QString, 4> RandomWorkoutModel::kSegmentOptions = {
    QStringLiteral("&1st Warm Up Segment"), QStringLiteral("&2nd Warm Up Segment"),
    QStringLiteral("1s&t Cool Down Segment"), QStringLiteral("2n&d Cool Down Segment")};

namespace {

using P = GeneratorParameters;
using Range = RandomWorkoutModel::Range;

bool isSpeed(Range range)
{
    return range == Range::SpeedMax || range == Range::SpeedMin;
}

bool isMaximum(Range range)
{
    return range == Range::SpeedMax || range == Range::InclineMax;
}

/// The other slider of a range's pair.
Range partner(Range range)
{
    switch (range) {
    case Range::SpeedMax:
        return Range::SpeedMin;
    case Range::SpeedMin:
        return Range::SpeedMax;
    case Range::InclineMax:
        return Range::InclineMin;
    case Range::InclineMin:
        return Range::InclineMax;
    }
    return range;
}

QString tenthsText(double tenths)
{
    return plainNumber(tenths / 10.0, systemDecimalSeparator());
}

} // namespace

RandomWorkoutModel::RandomWorkoutModel(const Session& session, SettingsStore& settings, Clock& clock,
                                       std::function<bool(const Workout&)> useWorkout)
    : mSession(session)
    , mSettings(settings)
    , mClock(clock)
    , mDraws(clock)
    , mUseWorkout(std::move(useWorkout))
{
}

RandomWorkoutModel::Slider RandomWorkoutModel::slider(int min, int max, int step, int value)
{
    max = std::max(min, max);
    return {min, max, std::max(1, step), std::clamp(value, min, max)};
}

void RandomWorkoutModel::load()
{
    mLoaded = true;
    mAdjusting = false;
    loadValues();
}

void RandomWorkoutModel::loadValues()
{
    const Machine& m = mSession.machine;
    const P p = P::stored(mSettings, m);
    mAdjusting = false;

    mRanges[index(Range::SpeedMax)] = slider(m.AttOneMin(), m.AttOneMax(), m.AttOneInc(), p.speedMax);
    mRanges[index(Range::SpeedMin)] = slider(m.AttOneMin(), m.AttOneMax(), m.AttOneInc(), p.speedMin);
    mRanges[index(Range::InclineMax)] = slider(m.AttTwoMin(), m.AttTwoMax(), m.AttTwoInc(), p.inclineMax);
    mRanges[index(Range::InclineMin)] = slider(m.AttTwoMin(), m.AttTwoMax(), m.AttTwoInc(), p.inclineMin);
    mTime = slider(P::kMinTime, P::kMaxTime, P::kTimeStep, p.time);

    for (int i = 0; i < 3; ++i) {
        mBiases[index(Attribute::Speed)][i] = slider(P::kBiasMin[i], P::kBiasMax[i], 1, p.speedBias[i]);
        mBiases[index(Attribute::Incline)][i] = slider(P::kBiasMin[i], P::kBiasMax[i], 1, p.inclineBias[i]);
    }
    mPatterns = {p.speedPattern, p.inclinePattern};

    for (int k = 0; k < 4; ++k) {
        mSegments[index(SegmentValue::Speed)][k] =
            slider(m.AttOneMin(), m.AttOneMax(), m.AttOneInc(), p.fixed[k].speed);
        mSegments[index(SegmentValue::Incline)][k] =
            slider(m.AttTwoMin(), m.AttTwoMax(), m.AttTwoInc(), p.fixed[k].incline);
        mSegments[index(SegmentValue::Seconds)][k] =
            slider(P::kMinFixedSeconds, P::kMaxFixedSeconds, 1, p.fixed[k].seconds);
    }
    mSegmentOption = 0;
    changed();
}

bool RandomWorkoutModel::kilometreSpeeds() const
{
    // Speeds show in km/h only when the main window shows speeds (not pace or a
    // resistance) in kilometres.
    const Machine& m = mSession.machine;
    return speedInKilometres(m) && speedDisplay(m, mSettings) == SpeedDisplay::Value;
}

QString RandomWorkoutModel::speedText(int tenths) const
{
    return kilometreSpeeds() ? tenthsText(roundHalfEven(tenths * kKilometresPerMile)) : tenthsText(tenths);
}

QString RandomWorkoutModel::rangeText(Range range) const
{
    const int v = rangeSlider(range).value;
    return isSpeed(range) ? speedText(v) : tenthsText(v);
}

QString RandomWorkoutModel::rangeCaption(Range range) const
{
    const Machine& m = mSession.machine;
    const QString label = isSpeed(range) ? m.AttOneDesignLabelA() : m.AttTwoDesignLabel();
    return label + (isMaximum(range) ? QStringLiteral(" Max:") : QStringLiteral(" Min:"));
}

QString RandomWorkoutModel::timeText() const
{
    return QString::number(mTime.value / 60);
}

QString RandomWorkoutModel::segmentText(SegmentValue value, int segment) const
{
    const int v = segmentSlider(value, segment).value;
    switch (value) {
    case SegmentValue::Speed:
        return displayNumber(kilometreSpeeds() ? v / 10.0 * kKilometresPerMile : v / 10.0, 1);
    case SegmentValue::Incline:
        return tenthsText(v);
    case SegmentValue::Seconds:
        break;
    }
    return QString::number(v);
}

QString RandomWorkoutModel::columnCaption(SegmentValue value) const
{
    const Machine& m = mSession.machine;
    switch (value) {
    case SegmentValue::Speed:
        return m.AttOneDesignLabelA();
    case SegmentValue::Incline:
        return m.AttTwoDesignLabel();
    case SegmentValue::Seconds:
        break;
    }
    return QStringLiteral("Seconds");
}

void RandomWorkoutModel::setRange(Range range, int value)
{
    Slider& s = mRanges[index(range)];
    int v = snapRangeValue(value, s.step, s.min, s.max);
    const Slider& other = rangeSlider(partner(range));
    if (other.min == s.min && other.max == s.max) {
        if (isMaximum(range) && v < other.value)
            v = other.value;
        else if (!isMaximum(range) && v > other.value)
            v = other.value;
    }
    s.value = v;
    changed();
}

void RandomWorkoutModel::setTime(int value)
{
    mTime.value = std::clamp(value, mTime.min, mTime.max);
    changed();
}

void RandomWorkoutModel::setBias(Attribute attribute, int bias, int value)
{
    Slider& s = mBiases[index(attribute)][bias];
    s.value = std::clamp(value, s.min, s.max);
    changed();
}

void RandomWorkoutModel::setSegmentValue(SegmentValue value, int segment, int v)
{
    Slider& s = mSegments[index(value)][segment];
    s.value = std::clamp(v, s.min, s.max);
    changed();
}

void RandomWorkoutModel::choosePattern(Attribute attribute, int pattern)
{
    mPatterns[index(attribute)] = std::clamp(pattern, 0, P::kPatternCount - 1);
    changed();
}

void RandomWorkoutModel::showSegment(int segment)
{
    mSegmentOption = std::clamp(segment, 0, 3);
    changed();
}

void RandomWorkoutModel::toggleFixedSegments()
{
    mAdjusting = !mAdjusting;
    mSegmentOption = 0;
    changed();
}

bool RandomWorkoutModel::makeWorkout()
{
    if (!makeEnabled())
        return false;
    mMaking = true;
    changed();
    // Let the window repaint before the long operation.
    mClock.processEvents();
    mTime.value = std::clamp(RandomWorkout::snappedTime(mTime.value), mTime.min, mTime.max);
    const Workout workout =
        RandomWorkout::make(parameters(), mSession.machine, mSession.weightPounds, mDraws);
    const bool made = mUseWorkout(workout);
    mMaking = false;
    changed();
    return made;
}

void RandomWorkoutModel::storeValues()
{
    parameters().save(mSettings);
    mLoaded = false;
}

GeneratorParameters RandomWorkoutModel::parameters() const
{
    P p;
    p.time = mTime.value;
    p.speedMax = rangeSlider(Range::SpeedMax).value;
    p.speedMin = rangeSlider(Range::SpeedMin).value;
    p.inclineMax = rangeSlider(Range::InclineMax).value;
    p.inclineMin = rangeSlider(Range::InclineMin).value;
    p.speedPattern = pattern(Attribute::Speed);
    p.inclinePattern = pattern(Attribute::Incline);
    for (int i = 0; i < 3; ++i) {
        p.speedBias[i] = biasSlider(Attribute::Speed, i).value;
        p.inclineBias[i] = biasSlider(Attribute::Incline, i).value;
    }
    for (int k = 0; k < 4; ++k) {
        p.fixed[k].speed = segmentSlider(SegmentValue::Speed, k).value;
        p.fixed[k].incline = segmentSlider(SegmentValue::Incline, k).value;
        p.fixed[k].seconds = segmentSlider(SegmentValue::Seconds, k).value;
    }
    return p;
}

void RandomWorkoutModel::changed()
{
    if (mOnChange)
        mOnChange();
}

} // namespace kntr
