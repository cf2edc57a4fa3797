#include "apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kntr {

AppPaths::AppPaths(QString programDataDir, QString userDataDir)
    : mProgramDataDir(std::move(programDataDir))
    , mUserDataDir(std::move(userDataDir))
{
}

namespace {

QString executableDir()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
}

} // namespace

AppPaths AppPaths::fromEnvironment()
{
    QString programData = qEnvironmentVariable("KINETROVA_DATA_DIR");
    if (programData.isEmpty())
        programData = QDir::cleanPath(executableDir() + QStringLiteral("/../share/kinetrova"));

    QString userData = qEnvironmentVariable("XDG_DATA_HOME");
    if (userData.isEmpty() || !QDir::isAbsolutePath(userData))
        userData = QDir::homePath() + QStringLiteral("/.local/share");
    return AppPaths(programData, userData + QStringLiteral("/kinetrova"));
}

QString AppPaths::musicCacheDir()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/kinetrova/music");
}

} // namespace kntr
