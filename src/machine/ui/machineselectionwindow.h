#pragma once

#include "machine/machineselectionmodel.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace kntr {

/// The machine selection window `frmMachine`: shows a MachineSelectionModel and
/// passes the user's choices to it. One set of speed boxes is on screen; it
/// shows whichever set (machine unit or km/h) the model has visible.
class MachineSelectionWindow : public QDialog {
    Q_OBJECT

public:
    explicit MachineSelectionWindow(MachineSelectionModel& model, QWidget* parent = nullptr);
    ~MachineSelectionWindow() override;

public slots:
    /// Cancel, Escape and the window's close button: unloads the window.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showModel();
    void cmdOk_Click();

    MachineSelectionModel& mModel;
    QGroupBox* mFraMachine;
    QComboBox* mCmbMachineType;
    QGroupBox* mFrame1;
    QButtonGroup* mOptUnits;
    std::array<QRadioButton*, 2> mUnitButtons;
    QGroupBox* mFraSpeed;
    QGroupBox* mFraIncline;
    std::array<QComboBox*, 3> mSpeedBoxes;
    std::array<QComboBox*, 3> mInclineBoxes;
    QPushButton* mCmdOk;
    QPushButton* mCmdCancel;
};

} // namespace kntr
