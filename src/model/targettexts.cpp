#include "targettexts.h"

#include "machine.h"
#include "numbers.h"

#include "storedsettings.h"
#include "platform/settingsstore.h"

namespace kntr {

SpeedDisplay speedDisplay(const Machine& machine, const SettingsStore& settings)
{
    if (machine.firstAttributeIsResistance())
        return SpeedDisplay::Value;
    return OptionsSettings(settings).paceShown() ? SpeedDisplay::Pace : SpeedDisplay::Value;
}

QString speedCaption(const Machine& machine, SpeedDisplay display)
{
    const QString& label = machine.AttOneDesignLabelA();
    return display == SpeedDisplay::Pace ? QStringLiteral("1/") + label : label;
}

QString firstTargetText(const Machine& machine, double value, SpeedDisplay display)
{
    if (machine.firstAttributeIsResistance())
        return plainNumber(value, systemDecimalSeparator());
    const double perHour = machine.units() == Units::Kilometres ? value * kKilometresPerMile : value;
    if (display == SpeedDisplay::Pace)
        return perHour > 0 ? displayNumber(60.0 / perHour, 1) : QStringLiteral("0");
    return displayNumber(perHour, 1);
}

QString secondTargetText(double value)
{
    return plainNumber(value, systemDecimalSeparator());
}

} // namespace kntr
