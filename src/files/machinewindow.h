#pragma once

#include <QString>

namespace kntr {

/// The machine selection window as the workout files use it: the reader puts a
/// file's machine settings into the window's boxes and saves them, and every
/// open command ends with the window's workout check. The machine selection
/// model implements it.
class MachineWindow
{
public:
    /// The six range boxes; the speed boxes are those of the machine's own unit.
    enum class Box { SpeedMin, SpeedMax, SpeedInc, InclineMin, InclineMax, InclineInc };

    virtual ~MachineWindow() = default;

    /// Shows name in the machine type list and rebuilds the window for the type
    /// shown; a name that is not one of the types leaves the shown type.
    virtual void showMachineType(const QString& name) = 0;
    /// Selects the unit option (0 miles/pounds, 1 metric) and shows its speed boxes.
    virtual void selectUnits(int index) = 0;
    /// Shows text in a range box; a text that is not among the box's choices is ignored.
    virtual void setBoxText(Box box, const QString& text) = 0;
    /// The window's Save for settings read from a workout file: stores type, units
    /// and ranges and fits the workout to them, without the notice the user sees
    /// when choosing an "Elliptical" or "Bike" in the window.
    virtual void saveFileSettings() = 0;
    /// Fits every segment of the workout into the machine's ranges and selects segment 1.
    virtual void VerifyWO() = 0;
};

} // namespace kntr
