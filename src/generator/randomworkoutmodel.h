#pragma once

#include "generatorparameters.h"
#include "randomdraws.h"
#include "randomworkout.h"

#include <QString>

#include <array>
#include <functional>

namespace kntr {

class Clock;
class SettingsStore;
class Workout;
struct Session;

/// What the random workout generator window shows and does, without widgets:
/// the "Set Workout Parameters" frame (speed and incline ranges, patterns and
/// biases, total time), the "Set Segment Parameters" frame (time, speed and
/// incline of the two warm-up and two cool-down segments), and the buttons
/// "&Adjust WarmUp/CoolDown", "&Make Workout" and "&Close".
///
/// The ranges follow the machine profile; the values come from the settings
/// when the window loads and go back there only through "&Close". "&Make
/// Workout" makes a workout for the machine and leaves the window open.
class RandomWorkoutModel {
public:
    static const QString kCaption;
    static const QString kParametersCaption;
    static const QString kSegmentsCaption;
    static const QString kAdjustCaption; ///< cmdWarmUp while the parameters are shown
    static const QString kAcceptCaption; ///< cmdWarmUp while the fixed segments are shown
    static const std::array<QString, 3> kSpeedOptions;
    static const std::array<QString, 3> kInclineOptions;
    static const std::array<QString, 3> kBiasCaptions; ///< by pattern
    static const std::array<QString, 4> kSegmentOptions;
    /// The window's fixed size in pixels (5940 by 5520 twips).
    static constexpr int kWidth = 396;
    static constexpr int kHeight = 368;

    /// One slider: integer range, step (small and large change) and value.
    struct Slider {
        int min = 0;
        int max = 0;
        int step = 1;
        int value = 0;
    };

    enum class Range { SpeedMax, SpeedMin, InclineMax, InclineMin };
    /// Attribute one (speed) or two (incline): the pattern and bias groups.
    enum class Attribute { Speed, Incline };
    /// The three sliders of a fixed segment.
    enum class SegmentValue { Speed, Incline, Seconds };

    /// useWorkout puts a generated workout in place of the one being edited,
    /// as File > New would replace it; it returns false when the user chose to
    /// keep the workout there is. The session, the settings and the clock must
    /// outlive the form.
    RandomWorkoutModel(const Session& session, SettingsStore& settings, Clock& clock,
                       std::function<bool(const Workout&)> useWorkout);

    /// Loads the window: the parameter frame shown, the values from the settings.
    void load();
    bool isLoaded() const { return mLoaded; }
    /// The window is closed; the next use loads afresh from the settings.
    void unload() { mLoaded = false; }
    /// Takes the ranges from the machine profile and the values from the settings.
    void loadValues();

    const Slider& rangeSlider(Range range) const { return mRanges[index(range)]; }
    const Slider& timeSlider() const { return mTime; }
    const Slider& biasSlider(Attribute attribute, int bias) const { return mBiases[index(attribute)][bias]; }
    const Slider& segmentSlider(SegmentValue value, int segment) const
    {
        return mSegments[index(value)][segment];
    }
    /// The pattern option set, 0 to 2; its bias slider is the one shown.
    int pattern(Attribute attribute) const { return mPatterns[index(attribute)]; }
    /// The fixed segment whose sliders are shown, 0 to 3.
    int segmentOption() const { return mSegmentOption; }
    /// Whether the fixed segments' frame is shown instead of the parameters.
    bool adjusting() const { return mAdjusting; }
    bool makeEnabled() const { return !mAdjusting && !mMaking; }
    const QString& adjustCaption() const { return mAdjusting ? kAcceptCaption : kAdjustCaption; }

    /// The value label beside a range slider (lblSpeed for the speed maximum).
    QString rangeText(Range range) const;
    /// The caption of a range slider: "Speed Max:", "Incline Min:", ...
    QString rangeCaption(Range range) const;
    /// lblTime: whole minutes.
    QString timeText() const;
    /// lblBiasOne or lblBiasTwo: what the shown bias slider means.
    const QString& biasCaption(Attribute attribute) const { return kBiasCaptions[pattern(attribute)]; }
    /// lblSegSpd, lblSegInc or lblSegSec of a fixed segment.
    QString segmentText(SegmentValue value, int segment) const;
    /// The column captions of the fixed segments: the two design labels and "Seconds".
    QString columnCaption(SegmentValue value) const;

    /// The user moves a range slider: the value is snapped down to the machine's
    /// step and a maximum is kept from going below its minimum (and the reverse).
    void setRange(Range range, int value);
    void setTime(int value);
    void setBias(Attribute attribute, int bias, int value);
    void setSegmentValue(SegmentValue value, int segment, int v);
    /// optSpeed_Click or optIncline_Click: sets the pattern and shows its bias slider.
    void choosePattern(Attribute attribute, int pattern);
    /// Shows the sliders of one fixed segment.
    void showSegment(int segment);
    /// Switches between the parameters and the fixed segments.
    void toggleFixedSegments();
    /// Makes a workout from the values shown and has it used. Returns false when
    /// nothing was made (the fixed segments are shown, or the user kept the old
    /// workout).
    bool makeWorkout();
    /// Stores every value; the window then closes.
    void storeValues();

    /// The values shown, as the generator takes them.
    GeneratorParameters parameters() const;

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }

private:
    template<typename E> static constexpr int index(E e) { return static_cast<int>(e); }
    static Slider slider(int min, int max, int step, int value);
    bool kilometreSpeeds() const;
    QString speedText(int tenths) const;
    void changed();

    const Session& mSession;
    SettingsStore& mSettings;
    Clock& mClock;
    RandomDraws mDraws;
    std::function<bool(const Workout&)> mUseWorkout;

    bool mLoaded = false;
    bool mAdjusting = false;
    bool mMaking = false;
    std::array<Slider, 4> mRanges{};
    Slider mTime;
    std::array<std::array<Slider, 3>, 2> mBiases{};
    std::array<int, 2> mPatterns{};
    std::array<std::array<Slider, 4>, 3> mSegments{};
    int mSegmentOption = 0;
    std::function<void()> mOnChange;
};

} // namespace kntr
