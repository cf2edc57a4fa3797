#pragma once

#include "units.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace kntr {

class SettingsStore;

/// The five kinds of machine, by the names they are stored under ("Treadmill",
/// "Incline trainer", "Elliptical", "Elliptical Type A", "Bike"); Unknown for
/// any other name.
enum class MachineKind { Treadmill, InclineTrainer, Elliptical, EllipticalTypeA, Bike, Unknown };

/// The kind a stored machine type names.
MachineKind machineKind(const QString& machineType);

/// The exercise machine the control tones drive: its type, the range and step
/// the user allows for each of its two attributes (in tenths: 10 = 1.0), the
/// words and labels that name the attributes, and the display units.
class Machine {
public:
    /// Makes an empty profile: ranges 0, labels empty, lists empty.
    /// The decimal separator of the choice lists is taken now.
    Machine();

    /// "Treadmill", "Incline trainer", "Elliptical", "Elliptical Type A", "Bike".
    const QStringList& MachineTypes() const { return mMachineTypes; }

    const QString& MachineType() const { return mMachineType; }
    MachineKind kind() const { return machineKind(mMachineType); }
    /// Whether attribute one is a resistance level rather than a speed: on an
    /// "Elliptical". Every other type, an unknown one included, has a speed.
    bool firstAttributeIsResistance() const { return kind() == MachineKind::Elliptical; }
    /// Stores the name and rebuilds labels and choice lists for it. A name that
    /// is not one of the five types empties the lists and keeps the labels.
    /// The ranges are not touched.
    void setMachineType(const QString& name);

    std::int16_t AttOneMin() const { return mAttOneMin; }
    std::int16_t AttOneMax() const { return mAttOneMax; }
    std::int16_t AttOneInc() const { return mAttOneInc; }
    std::int16_t AttTwoMin() const { return mAttTwoMin; }
    std::int16_t AttTwoMax() const { return mAttTwoMax; }
    std::int16_t AttTwoInc() const { return mAttTwoInc; }
    void setAttOneMin(std::int16_t v) { mAttOneMin = v; }
    void setAttOneMax(std::int16_t v) { mAttOneMax = v; }
    void setAttOneInc(std::int16_t v) { mAttOneInc = v; }
    void setAttTwoMin(std::int16_t v) { mAttTwoMin = v; }
    void setAttTwoMax(std::int16_t v) { mAttTwoMax = v; }
    void setAttTwoInc(std::int16_t v) { mAttTwoInc = v; }

    /// Choices offered on the machine selection window, as display text in whole units.
    const QStringList& AttOneMinList() const { return mAttOneMinList; }
    const QStringList& AttOneMaxList() const { return mAttOneMaxList; }
    const QStringList& AttOneIncList() const { return mAttOneIncList; }
    const QStringList& AttTwoMinList() const { return mAttTwoMinList; }
    const QStringList& AttTwoMaxList() const { return mAttTwoMaxList; }
    const QStringList& AttTwoIncList() const { return mAttTwoIncList; }

    /// Clip words spoken before each attribute's value.
    const QString& AttOneVoiceCue() const { return mAttOneVoiceCue; }
    const QString& AttTwoVoiceCue() const { return mAttTwoVoiceCue; }
    void setAttOneVoiceCue(const QString& v) { mAttOneVoiceCue = v; }
    void setAttTwoVoiceCue(const QString& v) { mAttTwoVoiceCue = v; }

    /// Axis titles; leading blanks align them.
    const QString& AttOneYLabel() const { return mAttOneYLabel; }
    const QString& AttTwoYLabel() const { return mAttTwoYLabel; }
    void setAttOneYLabel(const QString& v) { mAttOneYLabel = v; }
    void setAttTwoYLabel(const QString& v) { mAttTwoYLabel = v; }

    /// Captions of the editing labels; B is the pace form of attribute one.
    const QString& AttOneDesignLabelA() const { return mAttOneDesignLabelA; }
    const QString& AttOneDesignLabelB() const { return mAttOneDesignLabelB; }
    const QString& AttTwoDesignLabel() const { return mAttTwoDesignLabel; }
    void setAttOneDesignLabelA(const QString& v) { mAttOneDesignLabelA = v; }
    void setAttOneDesignLabelB(const QString& v) { mAttOneDesignLabelB = v; }
    void setAttTwoDesignLabel(const QString& v) { mAttTwoDesignLabel = v; }

    /// "Miles" or "Kilos".
    const QString& DisplayUnits() const { return mDisplayUnits; }
    void setDisplayUnits(const QString& v) { mDisplayUnits = v; }
    Units units() const;

    /// Reads type, units and ranges from the settings. The type is stored as is:
    /// labels and lists are rebuilt only by setMachineType. A range value that is
    /// not a whole number reads as its default.
    void GetSettings(const SettingsStore& settings);
    /// Writes type, units and ranges to the settings.
    void SaveSettings(SettingsStore& settings) const;

    /// Puts type, units and ranges back to a first start's: a "Treadmill" in miles.
    void resetToDefaults();

private:
    QStringList mMachineTypes;
    QString mMachineType;
    std::int16_t mAttOneMin = 0, mAttOneMax = 0, mAttOneInc = 0;
    std::int16_t mAttTwoMin = 0, mAttTwoMax = 0, mAttTwoInc = 0;
    QStringList mAttOneMinList, mAttOneMaxList, mAttOneIncList;
    QStringList mAttTwoMinList, mAttTwoMaxList, mAttTwoIncList;
    QString mAttOneVoiceCue, mAttTwoVoiceCue;
    QString mAttOneYLabel, mAttTwoYLabel;
    QString mAttOneDesignLabelA, mAttOneDesignLabelB, mAttTwoDesignLabel;
    QString mDisplayUnits;
    QChar mDecimalSeparator;
};

/// Whether attribute one is shown in kilometres per hour (on the speed axis, in
/// spoken targets): in kilometre units, unless attribute one is a resistance.
bool speedInKilometres(const Machine& machine, Units units);
/// The same in the machine's own display units.
bool speedInKilometres(const Machine& machine);

/// The unit switch: sets the profile's display units and saves the profile.
/// No stored value is converted; only what is shown changes.
void SwitchUnits(Machine& machine, SettingsStore& settings, Units units);

} // namespace kntr
