#include "settingscleanup.h"

#include "model/storedsettings.h"
#include "platform/settingsstore.h"

#include <utility>

namespace kntr {

const QString SettingsCleanup::kCaption = QStringLiteral("Kinetrova Installation");
const QString SettingsCleanup::kQuestion =
    QStringLiteral("Do you wish to delete previous Kinetrova settings?");
const QString SettingsCleanup::kRecommended = QStringLiteral("Recommended selection is Yes.")
    + QStringLiteral("\r\r") + QStringLiteral("Select YES if you had error messages with the last ")
    + QStringLiteral("version of this program.");
const QString SettingsCleanup::kPreserve =
    QStringLiteral("Select NO to preserve previous Kinetrova settings.");

SettingsCleanup::SettingsCleanup(SettingsStore& settings)
    : mSettings(settings)
{
}

bool SettingsCleanup::kinetrovaHasRun() const
{
    // The keys of section "user": the window's state and placement, written at
    // every exit, the weight and the user-file name.
    static const char* const keys[] = {"windowstate",   "frmMainLeft", "frmMainTop", "frmMainWidth",
                                       "frmMainHeight", "weight",      "lastfile"};
    const UserSettings user(std::as_const(mSettings));
    for (const char* key : keys) {
        // A key is absent only if both defaults come back: a stored value equals at most one.
        const QString name = QString::fromLatin1(key);
        if (user.placementText(name, QStringLiteral("0")) != QLatin1String("0")
            || user.placementText(name, QStringLiteral("1")) != QLatin1String("1"))
            return true;
    }
    return false;
}

void SettingsCleanup::deleteSettings()
{
    // The store reports its own failures; one failure never stops the next deletion.
    mSettings.DeleteSetting(kEarlierAppName);
    mSettings.DeleteSetting(kAppName);
}

} // namespace kntr
