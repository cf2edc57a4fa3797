#pragma once

#include "model/segment.h"
#include "model/units.h"

#include <QObject>
#include <QString>

#include <array>

namespace kntr {

class Clock;
class MessageBoxes;
class SettingsStore;
struct Session;

/// Segment editing without widgets: the value controls of the "Segment Design"
/// frame and the weight control, their change handlers, the texts they show,
/// the totals, keys, graph gestures and the active value box.
///
/// The main window mirrors this state in its scroll bars and boxes and forwards
/// the user's actions here; the random generator and the run engine call the
/// same operations directly. Every operation ends by emitting changed() once
/// with what needs redrawing.
class Editor : public QObject {
    Q_OBJECT

public:
    /// The four segment value boxes; at most one is the active one.
    enum class Box { None, Segment, Speed, Incline, Time };
    /// Every value control, the weight included.
    enum class Field { Segment, Speed, Incline, Time, Weight };
    enum class Key { Up, Down, Left, Right, PageUp, PageDown, Other };
    enum class Button { Left, Right };

    /// What changed() asks the window to redraw.
    enum Change : unsigned {
        Texts = 1u << 0, ///< the value boxes and the weight box
        Scrolls = 1u << 1, ///< control values
        Ranges = 1u << 2, ///< control ranges and steps
        Graph = 1u << 3, ///< column widths and bars (updateGraphics)
        TimeScale = 1u << 4, ///< time-axis labels (updateXScales)
        ValueScales = 1u << 5, ///< value-axis labels and captions (updateYscales, DisplayScaleLabels)
        Totals = 1u << 6, ///< totals and the segment distance (updateSums)
        ActiveBox = 1u << 7, ///< the active box takes the focus with its text selected
        WeightFocus = 1u << 8, ///< the weight box takes the focus with its text selected
        Enabled = 1u << 9, ///< editing was enabled or disabled
        Captions = 1u << 10, ///< the speed label and the distance unit label
        Everything = (1u << 11) - 1,
    };

    /// One scroll control: integer range, small step, page step and value.
    struct Control {
        int min = 0;
        int max = 0;
        int step = 1;
        int page = 1;
        int value = 0;
    };

    /// What the totals frame shows.
    struct TotalsTexts {
        QString time; ///< lblTotalTime, "30:00"
        QString distance; ///< lblTotalDist, "1.467"
        QString calories; ///< lblTotalCal
        QString segmentDistance; ///< lblSegDist, "0.05 mi"
    };

    static constexpr int kMinTime = kMinSegmentSeconds;
    static constexpr int kMaxTime = kMaxSegmentSeconds;
    static constexpr int kMinPounds = kMinWeightPounds;
    static constexpr int kMaxPounds = kMaxWeightPounds;
    /// Two changes of the time control count as equally spaced within this
    /// many milliseconds, the resolution of the tick count the rule was made for.
    static constexpr int kTickToleranceMs = 16;

    Editor(Session& session, SettingsStore& settings, MessageBoxes& messages, Clock& clock,
           QObject* parent = nullptr);

    Session& session() { return mSession; }
    const Session& session() const { return mSession; }
    /// The clock the editor keeps time by (the date of a printed sheet, too).
    Clock& clock() const { return mClock; }

    const Control& control(Field field) const { return mControls[index(field)]; }
    /// Moves a control as its scroll bar would: a value outside the range is
    /// ignored, a new value runs the control's change handler.
    void setValue(Field field, int value);

    /// What a control's move does, run on the control's current value: the
    /// segment control shows that segment (its values held to the ranges); the
    /// others store their value into the current segment (or the weight into
    /// every segment) and update the texts and totals.
    void showSelectedSegment();
    void storeSpeed();
    void storeIncline();
    void storeTime();
    void storeWeight();

    /// Inserts a copy of the current segment after it and selects the copy.
    void insertCopyOfCurrent();
    /// Deletes the current segment; nothing happens to a one-segment workout.
    void deleteCurrent();
    /// Toggles the speed label between speed and pace (time per distance).
    void toggleSpeedDisplay();

    /// Fills the speed, incline and time boxes from the current segment.
    void updateTextBoxes();
    /// Sets the controls from the workout; values outside a range leave that control alone.
    void updateScrolls();
    /// Recomputes the totals, the weight box and the current segment's distance.
    void updateSums();

    /// Makes segment index (1..count) current and shows it, leaving the modified flag alone.
    void selectSegment(int index);
    /// Redraws everything from the workout, leaving the modified flag alone.
    void refreshAll();
    /// Takes the machine profile's ranges and steps into the speed and incline controls
    /// and sets the speed label for the machine and the stored display mode.
    void applyMachineRanges();
    /// The unit switch: sets and saves the display units and redisplays speed and totals.
    void switchUnits(Units units);
    /// Sets the speed label from the stored display mode (options/distMode).
    void applySpeedDisplayMode();
    /// Sets the weight control and applies the weight to every segment, as a move of it would.
    void setWeight(int pounds);

    /// Enables or disables every editing control (cleared while a workout runs).
    void setEditingEnabled(bool enabled);
    bool editingEnabled() const { return mEditingEnabled; }

    /// A key pressed in a box; returns whether it moved (or tried to move) the control.
    bool keyPress(Field field, Key key);

    /// Text typed into the speed, incline or time box: the value it stands for
    /// (speed or pace as the speed label shows, time as "m:ss" or seconds) is
    /// brought onto the control's step and range and stored, and the box shows
    /// the value stored. Text that is no value leaves the segment alone and the
    /// box shows the old value again. Returns what the user should read in the
    /// status line (why the text was refused or the value moved), or nothing.
    /// The focus stays where it is.
    QString enterText(Field field, const QString& text);

    /// Marks a box active: it decides what dragging on the graph changes.
    void activate(Box box);
    Box activeBox() const { return mActive; }

    /// A button pressed on the graph at (x, y) in graph pixels over segment
    /// (0 right of the last column, which means the last segment): selects the
    /// segment; the right button moves the active box on.
    void graphPress(int segment, int x, int y, Button button);
    /// The pointer moved to (x, y) on the graph; dragging with the left button
    /// changes the active box's value a step at a time.
    void graphMove(int x, int y, bool leftButtonHeld);

    /// The text a box shows.
    QString text(Field field) const { return mTexts[index(field)]; }
    /// The caption of the speed label: attribute one's design label, or "1/" and it for pace.
    const QString& speedCaption() const { return mSpeedCaption; }
    /// Whether speeds are shown as pace, time per distance.
    bool paceShown() const;
    const TotalsTexts& totals() const { return mTotals; }
    /// The distance unit after the total distance: "Miles" or "km".
    QString distanceUnitText() const;

signals:
    /// Emitted once at the end of every operation with the Change bits to redraw.
    void changed(unsigned changes);

private:
    class Batch;
    friend class Batch;

    static int index(Field field) { return static_cast<int>(field); }
    Control& ctl(Field field) { return mControls[index(field)]; }
    void touch(unsigned changes) { mPending |= changes; }
    void runHandler(Field field);
    void showSpeedText();
    QString speedCaptionForMode() const;
    bool recordTimeChange();

    Session& mSession;
    SettingsStore& mSettings;
    MessageBoxes& mMessages;
    Clock& mClock;

    std::array<Control, 5> mControls;
    std::array<QString, 5> mTexts;
    TotalsTexts mTotals;
    QString mSpeedCaption;
    Box mActive = Box::None;
    bool mEditingEnabled = true;

    std::array<qint64, 4> mTimeTicks{};
    int mTimeTickCount = 0;
    int mPressX = 0;
    int mPressY = 0;

    int mDepth = 0;
    unsigned mPending = 0;
};

} // namespace kntr
