#include "machineselectionwindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kntr {

namespace {

using Box = MachineSelectionModel::Box;

constexpr Box kSpeedBoxes[] = {Box::SpeedMin, Box::SpeedMax, Box::SpeedInc};
constexpr Box kInclineBoxes[] = {Box::InclineMin, Box::InclineMax, Box::InclineInc};

QComboBox* makeBox(const char* name, QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);
    // A fixed width, so that the boxes do not jump when the unit changes their texts.
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(6);
    return box;
}

/// A frame of three boxes under the labels "Minimum", "Maximum", "Increment".
QGroupBox* rangeFrame(const char* name, const QString& caption, const std::array<QComboBox*, 3>& boxes,
                      QWidget* parent)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    frame->setToolTip(MachineSelectionModel::kRangeToolTip);
    auto* grid = new QGridLayout(frame);
    const char* labels[] = {"Minimum", "Maximum", "Increment"};
    for (int k = 0; k < 3; ++k) {
        auto* label = new QLabel(QLatin1String(labels[k]), frame);
        label->setObjectName(
            QStringLiteral("lbl%1%2").arg(QLatin1String(name + 3), QLatin1String(labels[k])));
        grid->addWidget(label, 0, k);
        grid->addWidget(boxes[k], 1, k);
        boxes[k]->setParent(frame);
        label->setBuddy(boxes[k]);
    }
    return frame;
}

void showBox(QComboBox* widget, const ChoiceBox& box)
{
    const QSignalBlocker block(widget);
    if (widget->count() != box.count() || [&] {
            for (int i = 0; i < box.count(); ++i)
                if (widget->itemText(i) != box.items().at(i))
                    return true;
            return false;
        }()) {
        widget->clear();
        widget->addItems(box.items());
    }
    widget->setCurrentIndex(box.index());
}

} // namespace

MachineSelectionWindow::MachineSelectionWindow(MachineSelectionModel& model, QWidget* parent)
    : QDialog(parent)
    , mModel(model)
{
    setObjectName(QStringLiteral("frmMachine"));
    setWindowTitle(MachineSelectionModel::kCaption);
    setModal(true);

    mFraMachine = new QGroupBox(QStringLiteral("Select Machine Type"), this);
    mFraMachine->setObjectName(QStringLiteral("fraMachine"));
    mCmbMachineType = makeBox("cmbMachineType", mFraMachine);
    mCmbMachineType->setMinimumContentsLength(16);
    (new QVBoxLayout(mFraMachine))->addWidget(mCmbMachineType);

    mFrame1 = new QGroupBox(QStringLiteral("Display"), this);
    mFrame1->setObjectName(QStringLiteral("Frame1"));
    mOptUnits = new QButtonGroup(this);
    mOptUnits->setObjectName(QStringLiteral("optUnits"));
    auto* unitLayout = new QVBoxLayout(mFrame1);
    const char* unitCaptions[] = {"Miles/Pounds", "Metric Units"};
    for (int i = 0; i < 2; ++i) {
        mUnitButtons[i] = new QRadioButton(QLatin1String(unitCaptions[i]), mFrame1);
        mUnitButtons[i]->setObjectName(QStringLiteral("optUnits_%1").arg(i));
        mOptUnits->addButton(mUnitButtons[i], i);
        unitLayout->addWidget(mUnitButtons[i]);
    }

    mSpeedBoxes = {makeBox("cmbSpeedMin", this), makeBox("cmbSpeedMax", this), makeBox("cmbSpeedInc", this)};
    mInclineBoxes = {makeBox("cmbInclineMin", this), makeBox("cmbInclineMax", this),
                     makeBox("cmbInclineInc", this)};
    mFraSpeed = rangeFrame("fraSpeed", QStringLiteral("Speed"), mSpeedBoxes, this);
    mFraIncline = rangeFrame("fraIncline", QStringLiteral("Incline or Resistance"), mInclineBoxes, this);

    mCmdOk = new QPushButton(QStringLiteral("&Save"), this);
    mCmdOk->setObjectName(QStringLiteral("cmdOk"));
    mCmdOk->setDefault(true);
    mCmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    mCmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* top = new QHBoxLayout;
    top->addWidget(mFraMachine, 1);
    top->addWidget(mFrame1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(mCmdOk);
    buttons->addWidget(mCmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(mFraSpeed);
    layout->addWidget(mFraIncline);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(mCmbMachineType, &QComboBox::activated, this,
            [this](int index) { mModel.chooseMachineType(index); });
    connect(mOptUnits, &QButtonGroup::idClicked, this, [this](int id) { mModel.chooseUnits(id); });
    for (int k = 0; k < 3; ++k) {
        connect(mSpeedBoxes[k], &QComboBox::activated, this,
                [this, k](int entry) { mModel.chooseSpeed(kSpeedBoxes[k], mModel.shownSpeedSet(), entry); });
        connect(mInclineBoxes[k], &QComboBox::activated, this,
                [this, k](int entry) { mModel.chooseIncline(kInclineBoxes[k], entry); });
    }
    connect(mCmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(mCmdCancel, &QPushButton::clicked, this, &MachineSelectionWindow::reject);

    mModel.setChangeHandler([this] { showModel(); });
    showModel();
}

MachineSelectionWindow::~MachineSelectionWindow()
{
    mModel.setChangeHandler({});
}

void MachineSelectionWindow::showEvent(QShowEvent* event)
{
    // After a Cancel the window loads afresh from the settings.
    if (!mModel.isLoaded())
        mModel.load();
    showModel();
    QDialog::showEvent(event);
}

void MachineSelectionWindow::showModel()
{
    showBox(mCmbMachineType, mModel.machineTypeBox());
    {
        const QSignalBlocker block(mOptUnits);
        mUnitButtons[mModel.unitOption()]->setChecked(true);
    }
    mFraSpeed->setTitle(mModel.speedCaption());
    mFraIncline->setTitle(mModel.inclineCaption());
    const int set = mModel.shownSpeedSet();
    for (int k = 0; k < 3; ++k) {
        showBox(mSpeedBoxes[k], mModel.speedBox(kSpeedBoxes[k], set));
        showBox(mInclineBoxes[k], mModel.inclineBox(kInclineBoxes[k]));
    }
}

void MachineSelectionWindow::cmdOk_Click()
{
    // Hide first, so that the main window redraws before the profile changes under it.
    setResult(QDialog::Accepted);
    hide();
    QCoreApplication::processEvents();
    mModel.save();
    done(QDialog::Accepted);
}

void MachineSelectionWindow::reject()
{
    mModel.cancel();
    QDialog::reject();
}

} // namespace kntr
