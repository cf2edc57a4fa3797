// The settings file on disk: where it lives, sharing between programs, damage and kills.

#include "platform/filesettingsstore.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <signal.h>

using namespace kntr;

namespace {

TEST(SettingsFile, LivesUnderTheXdgConfigFolder)
{
    test::ScopedXdgHome home;
    EXPECT_EQ(FileSettingsStore::defaultPath(), home.configHome() + "/kinetrova/settings.json");

    FileSettingsStore store(FileSettingsStore::defaultPath());
    EXPECT_FALSE(QFile::exists(store.path())) << "reading alone must not create the file";
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight", "160"), "160");
    store.SaveSetting("Kinetrova", "user", "weight", "170");
    EXPECT_TRUE(QFile::exists(store.path()));
}

TEST(SettingsFile, TwoProgramsSeeEachOthersWrites)
{
    test::ScopedXdgHome home;
    FileSettingsStore first(FileSettingsStore::defaultPath());
    FileSettingsStore second(FileSettingsStore::defaultPath());
    first.SaveSetting("Kinetrova", "user", "weight", "150");
    second.SaveSetting("Kinetrova", "options", "Delay", "20");
    EXPECT_EQ(second.GetSetting("Kinetrova", "user", "weight"), "150");
    EXPECT_EQ(first.GetSetting("Kinetrova", "options", "Delay"), "20");
}

TEST(SettingsFile, ADamagedFileIsSetAsideNotLostSilently)
{
    test::ScopedXdgHome home;
    FileSettingsStore store(FileSettingsStore::defaultPath());
    QDir().mkpath(home.configHome() + "/kinetrova");
    QFile f(store.path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{ this is not json");
    f.close();

    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight", "160"), "160");
    store.SaveSetting("Kinetrova", "user", "weight", "140");
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "140");
    QFile kept(store.path() + ".damaged");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "{ this is not json");
}

TEST(SettingsFile, SurvivesTheWriterBeingKilled)
{
    test::ScopedXdgHome home;
    const QString path = home.configHome() + "/kinetrova/settings.json";
    {
        FileSettingsStore store(path);
        store.SaveSetting("Kinetrova", "user", "weight", "155");
    }

    for (int round = 0; round < 15; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(SETTINGS_WRITER), {path});
        ASSERT_TRUE(writer.waitForStarted());
        QThread::msleep(20 + (round * 37) % 90);
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();

        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QJsonParseError error{};
        QJsonDocument::fromJson(f.readAll(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << "torn file after kill " << round;

        FileSettingsStore store(path);
        EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "155");
        EXPECT_FALSE(store.GetSetting("Kinetrova", "Loop", "Counter").isEmpty() && round > 3)
            << "the writer never got a write done";
    }
    // A lock left by a killed writer does not stop the next write for long.
    FileSettingsStore store(path);
    store.SaveSetting("Kinetrova", "user", "weight", "156");
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "156");
}

} // namespace
