#include "recentfiles.h"

#include "platform/settingsstore.h"

namespace kntr {

namespace {
const QString kSection = QStringLiteral("MRUList");
}

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
    for (int i = 0; i < mPaths.size(); ++i) {
        mSettings.SaveSetting(kAppName, kSection, QStringLiteral("Name%1").arg(i + 1), mPaths.at(i));
        mSettings.SaveSetting(kAppName, kSection, QStringLiteral("Title%1").arg(i + 1), mTitles.at(i));
    }
    for (int i = mPaths.size() + 1; i <= kMaxEntries; ++i) {
        mSettings.DeleteSetting(kAppName, kSection, QStringLiteral("Name%1").arg(i));
        mSettings.DeleteSetting(kAppName, kSection, QStringLiteral("Title%1").arg(i));
    }
}

void RecentFiles::LoadRecentFiles()
{
    mPaths.clear();
    mTitles.clear();
    for (int i = 1; i <= kMaxEntries; ++i) {
        const QString path = mSettings.GetSetting(kAppName, kSection, QStringLiteral("Name%1").arg(i));
        if (path.isEmpty())
            continue;
        mPaths.append(path);
        mTitles.append(mSettings.GetSetting(kAppName, kSection, QStringLiteral("Title%1").arg(i)));
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
