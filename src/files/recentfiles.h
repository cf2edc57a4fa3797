#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace kntr {

class SettingsStore;

/// The four most recently used files, most recent first, as the File menu shows
/// them; kept in section "MRUList" of the settings.
class RecentFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxEntries = 4;

    explicit RecentFiles(SettingsStore& settings, QObject* parent = nullptr);

    /// Puts a file at the top (an entry with the same path in any letter case
    /// moves there), drops a fifth entry and stores the list.
    void AddRecentFile(const QString& path, const QString& title);
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
    SettingsStore& mSettings;
    QStringList mPaths;
    QStringList mTitles;
};

} // namespace kntr
