#include "machine.h"

#include "numbers.h"
#include "storedsettings.h"
#include "platform/settingsstore.h"

#include <initializer_list>

#include <utility>

namespace kntr {

namespace {

struct RangeKey {
    const char* key;
    std::int16_t defaultValue;
    std::int16_t (Machine::*get)() const;
    void (Machine::*set)(std::int16_t);
};

const RangeKey kRangeKeys[] = {
    {"SpeedMin", 10, &Machine::AttOneMin, &Machine::setAttOneMin},
    {"SpeedMax", 100, &Machine::AttOneMax, &Machine::setAttOneMax},
    {"SpeedInc", 1, &Machine::AttOneInc, &Machine::setAttOneInc},
    {"InclineMin", 10, &Machine::AttTwoMin, &Machine::setAttTwoMin},
    {"InclineMax", 100, &Machine::AttTwoMax, &Machine::setAttTwoMax},
    {"InclineInc", 5, &Machine::AttTwoInc, &Machine::setAttTwoInc},
};

const char* const kDefaultType = "Treadmill";
const char* const kDefaultUnits = "Miles";

/// Labels and choices (in tenths) of one attribute for one machine type.
struct AttributeTable {
    const char* voiceCue;
    const char* yLabel;
    const char* designLabel;
    std::initializer_list<int> minChoices, maxChoices, incChoices;
};

struct TypeTable {
    const char* name;
    AttributeTable one;
    const char* oneDesignLabelB;
    AttributeTable two;
};

const TypeTable kTypes[] = {
    {"Treadmill",
     {"Speed", "     Speed", "Speed", {10, 20, 30}, {50, 60, 100, 120}, {1, 5, 10}},
     "1/Speed",
     {"Incline", "   Incline", "Incline", {0, 10, 15, 20, 50, 100}, {50, 60, 100, 120}, {5, 10}}},
    {"Incline trainer",
     {"Speed", "     Speed", "Speed", {10, 20, 30}, {50, 60, 100, 120}, {1, 5, 10}},
     "1/Speed",
     {"Incline", "   Incline", "Incline", {0, 10, 50, 100}, {50, 60, 100, 120, 250, 300, 500}, {5, 10}}},
    {"Elliptical",
     {"Resistance", "Resistance", "Resist.", {10, 20, 30, 40, 50}, {50, 60, 100, 120}, {10}},
     "1/Resist.",
     {"Incline", "   Incline", "Incline", {0, 10, 50, 100}, {50, 60, 100, 120, 250, 300}, {10, 50}}},
    {"Elliptical Type A",
     {"Speed", "     Speed", "Speed", {20, 30, 40, 50}, {50, 60, 100, 120}, {10}},
     "1/Speed",
     {"Resistance", "Resistance", "Resist.", {0, 10, 50, 100}, {50, 60, 100, 120, 250, 300}, {10, 50}}},
    {"Bike",
     {"Speed", "     Speed", "Speed", {10, 20, 30}, {50, 60, 100, 120}, {1, 5, 10}},
     "1/Speed",
     {"Resistance", "Resistance", "Resist.", {0, 10, 50, 100}, {50, 60, 100, 120, 250, 300}, {5, 10}}},
};

void fill(QStringList& list, std::initializer_list<int> tenths, QChar separator)
{
    for (int t : tenths)
        list.append(plainNumber(t / 10.0, separator));
}

std::int16_t readRange(const SettingsStore& settings, const RangeKey& range)
{
    bool ok = false;
    const int value = MachineSettings(settings)
                          .rangeText(QLatin1String(range.key), QString::number(range.defaultValue))
                          .trimmed()
                          .toInt(&ok);
    if (!ok || value < INT16_MIN || value > INT16_MAX)
        return range.defaultValue;
    return static_cast<std::int16_t>(value);
}

} // namespace

MachineKind machineKind(const QString& machineType)
{
    static constexpr std::pair<const char*, MachineKind> kKinds[] = {
        {"Treadmill", MachineKind::Treadmill},
        {"Incline trainer", MachineKind::InclineTrainer},
        {"Elliptical", MachineKind::Elliptical},
        {"Elliptical Type A", MachineKind::EllipticalTypeA},
        {"Bike", MachineKind::Bike},
    };
    for (const auto& [name, kind] : kKinds) {
        if (machineType == QLatin1String(name))
            return kind;
    }
    return MachineKind::Unknown;
}

Machine::Machine()
    : mDecimalSeparator(systemDecimalSeparator())
{
    for (const TypeTable& t : kTypes)
        mMachineTypes.append(QLatin1String(t.name));
}

void Machine::setMachineType(const QString& name)
{
    mMachineType = name;
    for (QStringList* list : {&mAttOneMinList, &mAttOneMaxList, &mAttOneIncList, &mAttTwoMinList,
                              &mAttTwoMaxList, &mAttTwoIncList})
        list->clear();

    for (const TypeTable& t : kTypes) {
        if (name != QLatin1String(t.name))
            continue;
        mAttOneVoiceCue = QLatin1String(t.one.voiceCue);
        mAttOneYLabel = QLatin1String(t.one.yLabel);
        mAttOneDesignLabelA = QLatin1String(t.one.designLabel);
        mAttOneDesignLabelB = QLatin1String(t.oneDesignLabelB);
        mAttTwoVoiceCue = QLatin1String(t.two.voiceCue);
        mAttTwoYLabel = QLatin1String(t.two.yLabel);
        mAttTwoDesignLabel = QLatin1String(t.two.designLabel);
        fill(mAttOneMinList, t.one.minChoices, mDecimalSeparator);
        fill(mAttOneMaxList, t.one.maxChoices, mDecimalSeparator);
        fill(mAttOneIncList, t.one.incChoices, mDecimalSeparator);
        fill(mAttTwoMinList, t.two.minChoices, mDecimalSeparator);
        fill(mAttTwoMaxList, t.two.maxChoices, mDecimalSeparator);
        fill(mAttTwoIncList, t.two.incChoices, mDecimalSeparator);
        return;
    }
}

Units Machine::units() const
{
    return mDisplayUnits == QLatin1String("Kilos") ? Units::Kilometres : Units::Miles;
}

void Machine::GetSettings(const SettingsStore& settings)
{
    mMachineType = MachineSettings(settings).typeText(QLatin1String(kDefaultType));
    mDisplayUnits = OptionsSettings(settings).unitsText(QLatin1String(kDefaultUnits));
    for (const RangeKey& range : kRangeKeys)
        (this->*range.set)(readRange(settings, range));
}

void Machine::SaveSettings(SettingsStore& settings) const
{
    MachineSettings stored(settings);
    stored.setType(mMachineType);
    OptionsSettings(settings).setUnitsText(mDisplayUnits);
    for (const RangeKey& range : kRangeKeys)
        stored.setRange(QLatin1String(range.key), (this->*range.get)());
}

void Machine::resetToDefaults()
{
    setMachineType(QLatin1String(kDefaultType));
    mDisplayUnits = QLatin1String(kDefaultUnits);
    for (const RangeKey& range : kRangeKeys)
        (this->*range.set)(range.defaultValue);
}

bool speedInKilometres(const Machine& machine, Units units)
{
    return units == Units::Kilometres && !machine.firstAttributeIsResistance();
}

bool speedInKilometres(const Machine& machine)
{
    return speedInKilometres(machine, machine.units());
}

void SwitchUnits(Machine& machine, SettingsStore& settings, Units units)
{
    machine.setDisplayUnits(units == Units::Kilometres ? QStringLiteral("Kilos") : QStringLiteral("Miles"));
    machine.SaveSettings(settings);
}

} // namespace kntr
