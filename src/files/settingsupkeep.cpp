#include "settingsupkeep.h"

#include "model/machine.h"
#include "platform/settingsstore.h"

namespace kntr {

void CleanupEarlierRelease(SettingsStore& settings)
{
    const QString lastFile =
        settings.GetSetting(kEarlierAppName, QStringLiteral("File"), QStringLiteral("LastFile"));
    if (!lastFile.isEmpty())
        settings.DeleteSetting(kEarlierAppName);
}

void ResetSettings(SettingsStore& settings, Machine& machine)
{
    settings.DeleteSetting(QStringLiteral("lumaventa"));
    settings.DeleteSetting(kAppName);
    machine.resetToDefaults();
}

} // namespace kntr
