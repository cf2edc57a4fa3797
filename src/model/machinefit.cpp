#include "machinefit.h"

#include "machine.h"
#include "numbers.h"
#include "workout.h"

#include "storedsettings.h"
#include "platform/settingsstore.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kntr {

int fitTenths(double value, int step, int minimum, int maximum)
{
    if (!std::isfinite(value))
        return minimum;
    double v = step > 0 ? roundHalfEven(value * 10.0 / step) * step : roundHalfEven(value * 10.0);
    // The machine's values are 16-bit; a value beyond them is as good as beyond the range.
    v = std::clamp(v, double(INT16_MIN), double(INT16_MAX));
    int tenths = static_cast<int>(v);
    if (tenths < minimum)
        tenths = minimum;
    if (tenths > maximum)
        tenths = maximum;
    return tenths;
}

void fitWorkoutToMachine(Workout& workout, const Machine& machine)
{
    for (int i = 1; i <= workout.count(); ++i) {
        Segment& s = workout.segment(i);
        s.setSegmentSpeed(
            fitTenths(s.SegmentSpeed(), machine.AttOneInc(), machine.AttOneMin(), machine.AttOneMax())
            / 10.0);
        s.setSegmentIncline(
            fitTenths(s.SegmentIncline(), machine.AttTwoInc(), machine.AttTwoMin(), machine.AttTwoMax())
            / 10.0);
    }
}

double choiceValue(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    return ok ? v : 0.0;
}

std::int16_t choiceTenths(const QString& text)
{
    return static_cast<std::int16_t>(std::clamp(toTenths(choiceValue(text)), int(INT16_MIN), int(INT16_MAX)));
}

QString choiceText(double value)
{
    return plainNumber(value, systemDecimalSeparator());
}

namespace {

/// The type the window shows for name: name itself when it is one of the
/// types, else fallback when that is one, else the first type.
QString shownType(const QStringList& types, const QString& name, const QString& fallback)
{
    if (types.contains(name))
        return name;
    if (types.contains(fallback))
        return fallback;
    return types.isEmpty() ? QString() : types.first();
}

} // namespace

void loadStoredMachine(Machine& machine, const SettingsStore& settings)
{
    machine.GetSettings(settings);
    machine.setMachineType(shownType(machine.MachineTypes(), machine.MachineType(), QString()));
}

void applyMachineChoice(Machine& machine, const MachineChoice& choice)
{
    machine.setMachineType(shownType(machine.MachineTypes(), choice.machineType, machine.MachineType()));

    using Get = std::int16_t (Machine::*)() const;
    using Set = void (Machine::*)(std::int16_t);
    using List = const QStringList& (Machine::*)() const;
    struct Range {
        Get get;
        Set set;
        List list;
    };
    static constexpr Range kRanges[6] = {
        {&Machine::AttOneMin, &Machine::setAttOneMin, &Machine::AttOneMinList},
        {&Machine::AttOneMax, &Machine::setAttOneMax, &Machine::AttOneMaxList},
        {&Machine::AttOneInc, &Machine::setAttOneInc, &Machine::AttOneIncList},
        {&Machine::AttTwoMin, &Machine::setAttTwoMin, &Machine::AttTwoMinList},
        {&Machine::AttTwoMax, &Machine::setAttTwoMax, &Machine::AttTwoMaxList},
        {&Machine::AttTwoInc, &Machine::setAttTwoInc, &Machine::AttTwoIncList},
    };
    for (int k = 0; k < 6; ++k) {
        const Range& r = kRanges[k];
        const QStringList& choices = (machine.*r.list)();
        int index = choices.indexOf(choiceText(choice.ranges[static_cast<size_t>(k)]));
        if (index < 0)
            index = choices.indexOf(choiceText((machine.*r.get)() / 10.0));
        if (index < 0)
            index = choices.isEmpty() ? -1 : 0;
        (machine.*r.set)(index < 0 ? std::int16_t(0) : choiceTenths(choices.at(index)));
    }
    machine.setDisplayUnits(choice.metric ? QStringLiteral("Kilos") : QStringLiteral("Miles"));
}

void storeFixedSegmentsForMachine(SettingsStore& settings, const Machine& machine)
{
    const int one = machine.AttOneMin();
    const int two = machine.AttTwoMin();
    const struct {
        const char* key;
        int tenths;
    } values[] = {
        {"Seg1Spd", one}, {"Seg2Spd", 2 * one}, {"SegYSpd", 2 * one}, {"SegZSpd", one},
        {"Seg1Inc", two}, {"Seg2Inc", 2 * two}, {"SegYInc", 2 * two}, {"SegZInc", two},
    };
    GeneratorSettings stored(settings);
    for (const auto& v : values)
        stored.setValue(QLatin1String(v.key), v.tenths);
}

} // namespace kntr
