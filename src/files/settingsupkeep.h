#pragma once

namespace kntr {

class Machine;
class SettingsStore;

/// At start-up: when the earlier release left a remembered workout behind,
/// deletes everything it stored. Nothing is copied over.
void CleanupEarlierRelease(SettingsStore& settings);

/// The About window's reset: deletes the settings of this and the earlier
/// release and puts the machine profile back to a first start's "Treadmill" in miles.
void ResetSettings(SettingsStore& settings, Machine& machine);

} // namespace kntr
