#include "platform/apppaths.h"
#include "testenv.h"

#include <QCoreApplication>
#include <QDir>

#include <gtest/gtest.h>

using namespace kntr;

TEST(AppPaths, UserFoldersFollowXdgDataHomeAndProgramDataTheExecutable)
{
    test::ScopedXdgHome home;
    qunsetenv("KINETROVA_DATA_DIR");
    const AppPaths paths = AppPaths::fromEnvironment();
    EXPECT_EQ(paths.userDataDir(), home.dataHome() + "/kinetrova");
    EXPECT_EQ(paths.workoutsDir(), home.dataHome() + "/kinetrova/workouts");
    EXPECT_EQ(paths.usersDir(), home.dataHome() + "/kinetrova/users");
    // Test executables sit in <build>/bin like the programs, so data is <build>/share/kinetrova.
    EXPECT_TRUE(paths.programDataDir().endsWith("/share/kinetrova")) << paths.programDataDir().toStdString();
    EXPECT_TRUE(QDir(paths.programDataDir()).exists());
    EXPECT_EQ(paths.voiceCueDir(), paths.programDataDir() + "/voicecue");

    // Encoded MP3 pieces go to the cache folder; a program given no cache folder keeps none.
    const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", "/tmp/kcache");
    EXPECT_EQ(AppPaths::fromEnvironment().pieceCacheDir(), "/tmp/kcache/kinetrova/pieces");
    qputenv("XDG_CACHE_HOME", "relative");
    EXPECT_EQ(AppPaths::fromEnvironment().pieceCacheDir(), QDir::homePath() + "/.cache/kinetrova/pieces");
    qputenv("XDG_CACHE_HOME", cacheHome);
    EXPECT_EQ(AppPaths("/p", "/u").pieceCacheDir(), QString());

    qputenv("KINETROVA_DATA_DIR", "/opt/kdata");
    EXPECT_EQ(AppPaths::fromEnvironment().programDataDir(), "/opt/kdata");
    qunsetenv("KINETROVA_DATA_DIR");
}
