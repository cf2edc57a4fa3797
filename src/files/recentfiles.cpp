#include "recentfiles.h"

#include "model/storedsettings.h"
#include "platform/settingsstore.h"

#include <utility>

namespace kntr {

RecentFiles::RecentFiles(SettingsStore& settings, QObject* parent)
    : QObject(parent)
    , mSettings(settings)
{
}

void RecentFiles::AddRecentFile(const QString& path, const QString& title)
{
    if (const int i = indexOf(path); i >= 0) {
        mPaths.removeAt(i);
        mTitles.removeAt(i);
    }
    mPaths.prepend(path);
    mTitles.prepend(title);
    while (mPaths.size() > kMaxEntries) {
        mPaths.removeLast();
        mTitles.removeLast();
    }
    store();
    emit changed();
}

void RecentFiles::RemoveRecentFile(const QString& path)
{
    const int i = indexOf(path);
    if (i < 0)
        return;
    mPaths.removeAt(i);
    mTitles.removeAt(i);
    store();
    emit changed();
}

int RecentFiles::indexOf(const QString& path) const
{
    for (int i = 0; i < mPaths.size(); ++i)
        if (mPaths.at(i).compare(path, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void RecentFiles::store()
{
    RecentFileSettings stored(mSettings);
    for (int i = 0; i < mPaths.size(); ++i)
        stored.setEntry(i + 1, mPaths.at(i), mTitles.at(i));
    for (int i = mPaths.size() + 1; i <= kMaxEntries; ++i)
        stored.removeEntry(i);
}

void RecentFiles::LoadRecentFiles()
{
    mPaths.clear();
    mTitles.clear();
    const RecentFileSettings stored(std::as_const(mSettings));
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString path = stored.path(i);
        if (path.isEmpty())
            continue;
        mPaths.append(path);
        mTitles.append(stored.title(i));
    }
    emit changed();
}

QString RecentFiles::RecentFilePath(int index) const
{
    if (index < 1 || index > mPaths.size())
        return {};
    return mPaths.at(index - 1);
}

QString RecentFiles::menuText(int index) const
{
    if (index < 1 || index > mTitles.size())
        return {};
    QString title = mTitles.at(index - 1);
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index).arg(title);
}

} // namespace kntr
