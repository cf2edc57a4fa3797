#include "machinewindowselection.h"

#include "machine/machineselection.h"
#include "machine/machineselectiondialog.h"

namespace kntr {

MachineWindowSelection::MachineWindowSelection(MachineSelection& model, QWidget* dialogParent)
    : mModel(model)
    , mDialogParent(dialogParent)
{
}

void MachineWindowSelection::load()
{
    mModel.Form_Load();
}

void MachineWindowSelection::verifyWorkout()
{
    mModel.VerifyWO();
}

void MachineWindowSelection::showSelection()
{
    // Loaded afresh each time, so the window shows the profile as it is now
    // (the unit switch or a workout file may have changed it since).
    mModel.Form_Load();
    MachineSelectionDialog dialog(mModel, mDialogParent);
    dialog.exec();
}

} // namespace kntr
