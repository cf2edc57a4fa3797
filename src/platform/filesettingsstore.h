#pragma once

#include "settingsstore.h"
#include "settingstree.h"

#include <chrono>
#include <memory>

namespace kntr {

/// The per-user settings file shared by kinetrova, kinetrova-cli and kntrRegDel.
///
/// Reads are served from a copy of the file's tree, re-read only when the file
/// changed (another inode, size, modification or status-change time, or mode), so
/// the programs see one another's changes at their next read; reads never lock.
///
/// A change is written to a temporary file that replaces the old one in a single
/// rename, under an exclusive lock on a lock file next to it: a program killed while
/// writing leaves the previous file whole (and its lock is released by the system),
/// and two programs writing at once do not lose each other's keys. A write that
/// cannot take the lock in time is not made.
///
/// A file at the path that cannot be read (no read permission, not a regular file,
/// larger than 16 MB) reads as empty and is never replaced: writes fail with a
/// warning. A file whose content a rewrite would lose (not JSON, or values of other
/// types, or names that differ only in case or are given twice) is first copied to
/// settings.json.damaged (or .damaged.1, .damaged.2, ... when that name is taken by
/// other content); when the copy cannot be made the file is not replaced.
///
/// Not thread-safe: one object per thread.
class FileSettingsStore : public SettingsStore {
public:
    /// Uses the file at path; its folder is created on the first write.
    explicit FileSettingsStore(QString path);
    ~FileSettingsStore() override;

    /// Returns $XDG_CONFIG_HOME/kinetrova/settings.json (~/.config when unset).
    static QString defaultPath();

    QString GetSetting(const QString& application, const QString& section, const QString& key,
                       const QString& defaultValue = {}) const override;
    void SaveSetting(const QString& application, const QString& section, const QString& key,
                     const QString& value) override;
    void DeleteSetting(const QString& application, const QString& section = {},
                       const QString& key = {}) override;

    const QString& path() const { return mPath; }

    /// How long a write waits for another program's write to finish (10 s by default).
    void setLockTimeout(std::chrono::milliseconds timeout) { mLockTimeout = timeout; }

private:
    struct Snapshot;
    const Snapshot& current() const;
    bool setAside(const QByteArray& original) const;
    template<typename Change> void update(Change change);

    QString mPath;
    QString mUnsavedProblem; ///< why writes are refused, once reported
    std::chrono::milliseconds mLockTimeout{10000};
    mutable std::unique_ptr<Snapshot> mSnapshot;
};

} // namespace kntr
