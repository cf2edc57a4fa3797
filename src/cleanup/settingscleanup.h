#pragma once

#include <QString>

namespace kntr {

class SettingsStore;

/// What kntrRegDel does, without its window: it finds out whether Kinetrova
/// has ever run on this account and, when the user agrees, deletes every
/// setting of Kinetrova and of its earlier release Lumaventa.
class SettingsCleanup {
public:
    static const QString kCaption; ///< "Kinetrova Installation"
    static const QString kQuestion; ///< Frame1
    static const QString kRecommended; ///< Label1, with carriage returns between its lines
    static const QString kPreserve; ///< Label2

    explicit SettingsCleanup(SettingsStore& settings);

    /// Whether the main program has left settings of its own: any of the
    /// values it keeps in its "user" section. A store that cannot be read
    /// answers with defaults, so it counts as never run.
    bool kinetrovaHasRun() const;

    /// Yes: deletes the applications "Lumaventa" and "Kinetrova" from the store,
    /// each whether or not it exists or the other could be deleted.
    void deleteSettings();

private:
    SettingsStore& mSettings;
};

} // namespace kntr
