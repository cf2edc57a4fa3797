#pragma once

#include "platform/memorysettingsstore.h"
#include "platform/settingsstore.h"

#include <vector>

namespace kntr {

/// A settings store that reads through to another one and keeps its own
/// changes in memory: commands that go through the program's normal paths
/// see the user's settings but leave them as they are.
class OverlaySettingsStore : public SettingsStore {
public:
    explicit OverlaySettingsStore(const SettingsStore& base)
        : mBase(base)
    {
    }

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section = {},
                       const QString& key = {}) override;

private:
    struct Deleted {
        QString application, section, key;
    };
    bool isDeleted(const QString& application, const QString& section, const QString& key) const;

    const SettingsStore& mBase;
    MemorySettingsStore mChanges;
    std::vector<Deleted> mDeleted;
};

} // namespace kntr
