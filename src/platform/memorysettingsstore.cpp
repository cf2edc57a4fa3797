#include "memorysettingsstore.h"

namespace kntr {

QString MemorySettingsStore::GetSetting(const QString& application, const QString& section,
                                        const QString& key, const QString& defaultValue) const
{
    return mTree.value(application, section, key).value_or(defaultValue);
}

void MemorySettingsStore::SaveSetting(const QString& application, const QString& section, const QString& key,
                                      const QString& value)
{
    mTree.setValue(application, section, key, value);
}

void MemorySettingsStore::DeleteSetting(const QString& application, const QString& section,
                                        const QString& key)
{
    mTree.remove(application, section, key);
}

} // namespace kntr
