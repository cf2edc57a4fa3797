#pragma once

#include "editor/equipmentselection.h"

class QWidget;

namespace kntr {

class MachineSelectionModel;

/// The main window's equipment choice carried out by the machine selection
/// window: its model loads the profile and fits the workout, its dialog lets
/// the user choose.
class MachineWindowSelection : public EquipmentSelection {
public:
    MachineWindowSelection(MachineSelectionModel& model, QWidget* dialogParent);

    void load() override;
    void verifyWorkout() override;
    void showSelection() override;

private:
    MachineSelectionModel& mModel;
    QWidget* mDialogParent;
};

} // namespace kntr
