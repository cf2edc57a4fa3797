#include "overlaysettingsstore.h"

namespace kntr {

namespace {

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool OverlaySettingsStore::isDeleted(const QString& application, const QString& section,
                                     const QString& key) const
{
    for (const Deleted& d : mDeleted)
        if (sameName(d.application, application) && (d.section.isEmpty() || sameName(d.section, section))
            && (d.key.isEmpty() || sameName(d.key, key)))
            return true;
    return false;
}

QString OverlaySettingsStore::GetSetting(const QString& application, const QString& section,
                                         const QString& key, const QString& defaultValue) const
{
    // No stored text holds a NUL, so this marks an absent key.
    static const QString absent(1, QChar(0));
    const QString changed = mChanges.GetSetting(application, section, key, absent);
    if (changed != absent)
        return changed;
    if (isDeleted(application, section, key))
        return defaultValue;
    return mBase.GetSetting(application, section, key, defaultValue);
}

void OverlaySettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                       const QString& value)
{
    mChanges.SaveSetting(application, section, key, value);
}

void OverlaySettingsStore::DeleteSetting(const QString& application, const QString& section,
                                         const QString& key)
{
    mChanges.DeleteSetting(application, section, key);
    mDeleted.push_back({application, section, key});
}

} // namespace kntr
