#pragma once

#include "settingsstore.h"
#include "settingstree.h"

namespace kntr {

/// A settings store held in memory; for tests and for commands that must not
/// change the user's stored settings.
class MemorySettingsStore : public SettingsStore {
public:
    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section = {},
                       const QString& key = {}) override;

    bool isEmpty() const { return mTree.isEmpty(); }

private:
    SettingsTree mTree;
};

} // namespace kntr
