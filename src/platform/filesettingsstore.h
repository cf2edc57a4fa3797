#pragma once

#include "settingsstore.h"
#include "settingstree.h"

namespace kntr {

/// The per-user settings file shared by kinetrova, kinetrova-cli and kntrRegDel.
///
/// Every call reads the file afresh, so the programs see one another's changes.
/// A change is written to a temporary file that replaces the old one in a single
/// rename, under a lock file: a program killed while writing leaves the previous
/// file whole, and two programs writing at once do not lose each other's keys.
class FileSettingsStore : public SettingsStore
{
public:
    /// Uses the file at path; its folder is created on the first write.
    explicit FileSettingsStore(QString path);

    /// Returns $XDG_CONFIG_HOME/kinetrova/settings.json (~/.config when unset).
    static QString defaultPath();

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section = {},
                       const QString& key = {}) override;

    const QString& path() const { return mPath; }

private:
    enum class ReadStatus { Ok, Missing, Unreadable };
    ReadStatus read(SettingsTree& tree) const;
    template<typename Change>
    void update(Change change);

    QString mPath;
};

} // namespace kntr
