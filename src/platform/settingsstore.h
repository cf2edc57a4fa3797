#pragma once

#include <QString>

namespace kntr {

/// Application names in the settings store.
inline const QString kAppName = QStringLiteral("Kinetrova");
inline const QString kEarlierAppName = QStringLiteral("Lumaventa");

/// Per-user string settings addressed by application, section and key.
/// Names compare without regard to case: "File" and "file" are one section.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    /// Returns the stored string, or defaultValue when the key is absent.
    virtual QString GetSetting(const QString& application, const QString& section, const QString& key,
                               const QString& defaultValue = {}) const = 0;

    /// Stores value under the key, creating the application and section as needed.
    virtual void SaveSetting(const QString& application, const QString& section, const QString& key,
                             const QString& value) = 0;

    /// Removes one key, a whole section (key empty) or a whole application (section empty).
    virtual void DeleteSetting(const QString& application, const QString& section = {},
                               const QString& key = {}) = 0;
};

} // namespace kntr
