#include "machineselectionmodel.h"

#include "model/machinefit.h"

#include "model/numbers.h"
#include "model/session.h"
#include "model/units.h"
#include "model/workoutview.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <algorithm>
#include <cstdint>

namespace kntr {

const QString MachineSelectionModel::kCaption = QStringLiteral("Kinetrova - Machine");

const QString MachineSelectionModel::kRangeToolTip =
    QStringLiteral("Select minimum, maximum, and increment "
                   "values that match your exercise equipment.");

const QString MachineSelectionModel::kCalorieNotice =
    QStringLiteral("Calorie and distance results are correct for "
                   "treadmills and incline trainers only. Use the "
                   "program values as a guide. Refer to the console "
                   "on your exercise device at the end of the workout "
                   "for correct values.");

namespace {

std::int16_t boxTenths(const ChoiceBox& box)
{
    return choiceTenths(box.text());
}

/// A stored range value as the boxes write it.
QString rangeText(int tenths)
{
    return choiceText(tenths / 10.0);
}

QStringList inKilometres(const QStringList& choices)
{
    QStringList out;
    for (const QString& c : choices)
        out.append(choiceText(choiceValue(c) * kKilometresPerMile));
    return out;
}

} // namespace

MachineSelectionModel::MachineSelectionModel(Session& session, SettingsStore& settings, WorkoutView& view,
                                             MessageBoxes& messages)
    : mSession(session)
    , mSettings(settings)
    , mView(view)
    , mMessages(messages)
{
}

int MachineSelectionModel::slot(Box box)
{
    switch (box) {
    case Box::SpeedMin:
    case Box::InclineMin:
        return 0;
    case Box::SpeedMax:
    case Box::InclineMax:
        return 1;
    case Box::SpeedInc:
    case Box::InclineInc:
        return 2;
    }
    return 0;
}

namespace {
bool isSpeedBox(MachineSelectionModel::Box box)
{
    return box == MachineSelectionModel::Box::SpeedMin || box == MachineSelectionModel::Box::SpeedMax
        || box == MachineSelectionModel::Box::SpeedInc;
}
} // namespace

const ChoiceBox& MachineSelectionModel::speedBox(Box box, int unitSet) const
{
    return mSpeed[unitSet == 1 ? 1 : 0][slot(box)];
}

const ChoiceBox& MachineSelectionModel::inclineBox(Box box) const
{
    return mIncline[slot(box)];
}

void MachineSelectionModel::load()
{
    mTypeBox.fill(mSession.machine.MachineTypes());
    readProfile();
    // The option shows the profile's units, so that Save keeps them unless the user changes them.
    mUnitOption = mSession.machine.units() == Units::Kilometres ? 1 : 0;
    mTypeBox.selectText(mSession.machine.MachineType());
    mLoaded = true;
    showTypeChoices();
}

void MachineSelectionModel::ensureLoaded()
{
    if (!mLoaded)
        load();
}

void MachineSelectionModel::changed()
{
    if (mOnChange)
        mOnChange();
}

void MachineSelectionModel::mirrorSpeedSet(int from)
{
    for (int k = 0; k < 3; ++k)
        mSpeed[1 - from][k].select(mSpeed[from][k].index());
}

void MachineSelectionModel::readProfile()
{
    mSession.machine.GetSettings(mSettings);
    mView.applyMachineRanges();
}

void MachineSelectionModel::showTypeChoices()
{
    ensureLoaded();
    Machine& machine = mSession.machine;
    machine.setMachineType(mTypeBox.text());
    mSpeedCaption = machine.AttOneVoiceCue();
    mInclineCaption = machine.AttTwoVoiceCue();

    const QStringList* speedLists[] = {&machine.AttOneMinList(), &machine.AttOneMaxList(),
                                       &machine.AttOneIncList()};
    const QStringList* inclineLists[] = {&machine.AttTwoMinList(), &machine.AttTwoMaxList(),
                                         &machine.AttTwoIncList()};
    for (int k = 0; k < 3; ++k) {
        mSpeed[0][k].fill(*speedLists[k]);
        mSpeed[1][k].fill(inKilometres(*speedLists[k]));
        mIncline[k].fill(*inclineLists[k]);
    }
    // A stored value that is not among the choices leaves the first entry shown.
    mSpeed[0][0].selectText(rangeText(machine.AttOneMin()));
    mSpeed[0][1].selectText(rangeText(machine.AttOneMax()));
    mSpeed[0][2].selectText(rangeText(machine.AttOneInc()));
    mIncline[0].selectText(rangeText(machine.AttTwoMin()));
    mIncline[1].selectText(rangeText(machine.AttTwoMax()));
    mIncline[2].selectText(rangeText(machine.AttTwoInc()));
    mirrorSpeedSet(0);

    showUnitSet(mUnitOption);
}

void MachineSelectionModel::showUnitSet(int index)
{
    ensureLoaded();
    if (mSpeedCaption != QLatin1String("Speed"))
        index = 0; // a resistance is never shown in km/h
    if (index == 1) {
        mirrorSpeedSet(0);
        mShownSpeedSet = 1;
    } else {
        mirrorSpeedSet(1);
        mShownSpeedSet = 0;
    }
    changed();
}

void MachineSelectionModel::chooseMachineType(int index)
{
    ensureLoaded();
    if (mTypeBox.select(index))
        showTypeChoices();
}

void MachineSelectionModel::chooseUnits(int index)
{
    ensureLoaded();
    mUnitOption = index == 1 ? 1 : 0;
    showUnitSet(mUnitOption);
}

void MachineSelectionModel::chooseSpeed(Box box, int unitSet, int entry)
{
    ensureLoaded();
    if (!isSpeedBox(box))
        return;
    const int set = unitSet == 1 ? 1 : 0;
    if (mSpeed[set][slot(box)].select(entry))
        mirrorSpeedSet(set);
    changed();
}

void MachineSelectionModel::chooseIncline(Box box, int entry)
{
    ensureLoaded();
    ChoiceBox& minimum = mIncline[0];
    ChoiceBox& maximum = mIncline[1];
    if (box == Box::InclineMin) {
        if (minimum.select(entry))
            while (choiceValue(maximum.text()) <= choiceValue(minimum.text())
                   && maximum.select(maximum.index() + 1)) { }
    } else if (box == Box::InclineMax) {
        if (maximum.select(entry))
            while (choiceValue(maximum.text()) <= choiceValue(minimum.text())
                   && minimum.select(minimum.index() - 1)) { }
    } else if (box == Box::InclineInc) {
        mIncline[2].select(entry);
    }
    changed();
}

void MachineSelectionModel::save()
{
    ensureLoaded();
    Machine& machine = mSession.machine;

    machine.setMachineType(mTypeBox.text());
    // The values come from the machine-unit boxes; the km/h set shows the same positions.
    if (mShownSpeedSet == 1)
        mirrorSpeedSet(1);
    machine.setAttOneMin(boxTenths(mSpeed[0][0]));
    machine.setAttOneMax(boxTenths(mSpeed[0][1]));
    machine.setAttOneInc(boxTenths(mSpeed[0][2]));
    machine.setAttTwoMin(boxTenths(mIncline[0]));
    machine.setAttTwoMax(boxTenths(mIncline[1]));
    machine.setAttTwoInc(boxTenths(mIncline[2]));

    if (mUnitOption == 0) {
        machine.setDisplayUnits(QStringLiteral("Miles"));
        mView.switchUnits(Units::Miles);
    } else {
        machine.setDisplayUnits(QStringLiteral("Kilos"));
        mView.switchUnits(Units::Kilometres);
    }

    machine.SaveSettings(mSettings);
    readProfile();
    fitWorkout();
    mView.refreshWorkout();
    mView.selectSegment(1);

    storeFixedSegmentsForMachine(mSettings, machine);
    changed();

    const QString& type = machine.MachineType();
    if ((machineKind(type) == MachineKind::Elliptical || machineKind(type) == MachineKind::Bike))
        mMessages.show(kCalorieNotice, MessageBoxes::Icon::Information);
}

void MachineSelectionModel::cancel()
{
    // Choosing a type already rebuilt the profile's labels and lists: put them
    // back as stored, so that a cancelled window leaves the machine unchanged.
    mLoaded = false;
    Machine& machine = mSession.machine;
    machine.GetSettings(mSettings);
    machine.setMachineType(machine.MachineType());
    changed();
}

void MachineSelectionModel::fitWorkout()
{
    ensureLoaded();
    fitWorkoutToMachine(mSession.workout, mSession.machine);
    mSession.workout.setCurrent(1);
    mView.refreshWorkout();
    mView.selectSegment(1);
}

} // namespace kntr
