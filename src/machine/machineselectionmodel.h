#pragma once

#include "choicebox.h"

#include <QString>

#include <array>
#include <functional>

namespace kntr {

class MessageBoxes;
class SettingsStore;
class WorkoutView;
struct Session;

/// What the machine selection window shows and does, without widgets: the
/// machine type list, the unit option, the speed boxes in the machine's unit
/// (set 0) and in km/h (set 1), the incline boxes, and the Save and Cancel
/// actions that change the session's machine profile and fit the workout to it.
///
/// The window loads itself on first use and again after Cancel. The two speed
/// sets always show the same positions: each is the other's value in another unit.
class MachineSelectionModel {
public:
    /// The six range boxes; the speed boxes are those of the machine's own unit.
    enum class Box { SpeedMin, SpeedMax, SpeedInc, InclineMin, InclineMax, InclineInc };

    static const QString kCaption;
    /// Tooltip of both attribute frames.
    static const QString kRangeToolTip;
    /// Shown after saving an "Elliptical" or a "Bike".
    static const QString kCalorieNotice;

    MachineSelectionModel(Session& session, SettingsStore& settings, WorkoutView& view,
                          MessageBoxes& messages);

    /// Loads the window: fills the type list, reads the profile from the settings
    /// (readProfile) and shows the stored type, units and ranges.
    void load();
    bool isLoaded() const { return mLoaded; }

    const ChoiceBox& machineTypeBox() const { return mTypeBox; }
    /// Speed box box (SpeedMin, SpeedMax or SpeedInc) of set unitSet: 0 the machine's
    /// unit, 1 km/h (each choice × 1.61).
    const ChoiceBox& speedBox(Box box, int unitSet) const;
    /// Incline box box (InclineMin, InclineMax or InclineInc).
    const ChoiceBox& inclineBox(Box box) const;
    /// The unit option selected: 0 "Miles/Pounds", 1 "Metric Units".
    int unitOption() const { return mUnitOption; }
    /// Which speed set is visible: 1 only for metric units and a speed attribute.
    int shownSpeedSet() const { return mShownSpeedSet; }
    /// Captions of the attribute frames: the attributes' voice-cue words.
    const QString& speedCaption() const { return mSpeedCaption; }
    const QString& inclineCaption() const { return mInclineCaption; }

    /// The user picks entry index of the machine type list.
    void chooseMachineType(int index);
    /// The user picks a unit option (0 or 1).
    void chooseUnits(int index);
    /// The user picks entry of a speed box of the given set; the other set follows.
    void chooseSpeed(Box box, int unitSet, int entry);
    /// The user picks entry of an incline box. A minimum moves the maximum down its
    /// list until the maximum exceeds it; a maximum moves the minimum towards the
    /// start until the maximum exceeds it.
    void chooseIncline(Box box, int entry);

    /// Save: stores type, units and ranges, fits the workout to them, and for an
    /// "Elliptical" or "Bike" tells that calories and distance are only a guide.
    void save();
    /// Cancel: unloads the window and puts the profile back as stored.
    void cancel();
    /// Reads the profile from the settings and gives the editing controls its ranges.
    void readProfile();
    /// Fits every segment of the workout into the machine's ranges and selects segment 1.
    void fitWorkout();

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }

private:
    static int slot(Box box);
    /// Rebuilds the profile's lists and the boxes for the type shown.
    void showTypeChoices();
    /// Shows the speed set of the unit (a resistance is never shown in km/h).
    void showUnitSet(int index);
    void ensureLoaded();
    void changed();
    void mirrorSpeedSet(int from);

    Session& mSession;
    SettingsStore& mSettings;
    WorkoutView& mView;
    MessageBoxes& mMessages;

    bool mLoaded = false;
    ChoiceBox mTypeBox;
    std::array<std::array<ChoiceBox, 3>, 2> mSpeed;
    std::array<ChoiceBox, 3> mIncline;
    int mUnitOption = 0;
    int mShownSpeedSet = 0;
    QString mSpeedCaption;
    QString mInclineCaption = QStringLiteral("Incline or Resistance");
    std::function<void()> mOnChange;
};

} // namespace kntr
