#include "machinewindowselection.h"

#include "machine/machineselectionmodel.h"
#include "machine/ui/machineselectionwindow.h"

namespace kntr {

MachineWindowSelection::MachineWindowSelection(MachineSelectionModel& model, QWidget* dialogParent)
    : mModel(model)
    , mDialogParent(dialogParent)
{
}

void MachineWindowSelection::load()
{
    mModel.load();
}

void MachineWindowSelection::verifyWorkout()
{
    mModel.fitWorkout();
}

void MachineWindowSelection::showSelection()
{
    // Loaded afresh each time, so the window shows the profile as it is now
    // (the unit switch or a workout file may have changed it since).
    mModel.load();
    MachineSelectionWindow dialog(mModel, mDialogParent);
    dialog.exec();
}

} // namespace kntr
