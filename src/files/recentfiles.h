#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace kntr {

class SettingsStore;

/// The four most recently used files, most recent first, as the File menu shows
/// them; kept in section "MRUList" of the settings.
class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxEntries = 4;

    explicit RecentFiles(SettingsStore& settings, QObject* parent = nullptr);

    /// Puts a file at the top (an entry with the same path in any letter case
    /// moves there), drops a fifth entry and stores the list.
    void AddRecentFile(const QString& path, const QString& title);
    /// Takes the entry with path (in any letter case) off the list and stores
    /// the shorter list; the stored entries beyond it are emptied so that the
    /// entry stays gone after a restart. Nothing happens for a path not listed.
    void RemoveRecentFile(const QString& path);
    /// Reads the stored list; empty stored entries are skipped.
    void LoadRecentFiles();
    /// The path of menu entry index (1 … count); empty outside the list.
    QString RecentFilePath(int index) const;

    int count() const { return mPaths.size(); }
    const QStringList& paths() const { return mPaths; }
    const QStringList& titles() const { return mTitles; }
    /// The menu text of entry index (1 … count): "&1 /home/me/hills.txt". An "&" in
    /// the title is doubled so that it shows as itself.
    QString menuText(int index) const;

signals:
    /// The list changed; the menu shows it afresh.
    void changed();

private:
    /// The index of path in the list, ignoring case; -1 when not listed.
    int indexOf(const QString& path) const;
    /// Writes entries 1 … count and removes the stored entries beyond them.
    void store();

    SettingsStore& mSettings;
    QStringList mPaths;
    QStringList mTitles;
};

} // namespace kntr
