#pragma once

namespace kntr {

/// The machine selection window as the main window uses it. Until one is
/// attached the main window loads the machine profile from the settings itself
/// and offers no "Select Equipment..." entry.
class EquipmentSelection {
public:
    virtual ~EquipmentSelection() = default;

    /// Loads the window without showing it: fills the machine profile from the
    /// settings and the value controls' ranges from the profile.
    virtual void load() = 0;
    /// Fits every segment of the workout into the profile's ranges and steps.
    virtual void verifyWorkout() = 0;
    /// Shows the window modally so the user can choose the equipment.
    virtual void showSelection() = 0;
};

} // namespace kntr
