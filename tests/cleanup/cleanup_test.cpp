// kntrRegDel: the probe, the deletions, its window and the program itself.

#include "cleanup/ui/regdelwindow.h"
#include "cleanup/settingscleanup.h"

#include "platform/filesettingsstore.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

TEST(SettingsCleanupTest, KinetrovaHasRunWhenItsUserSectionHoldsAValue)
{
    struct Case {
        const char* app;
        const char* section;
        const char* key;
        const char* value;
        bool hasRun;
    };
    const Case cases[] = {
        {nullptr, nullptr, nullptr, nullptr, false},
        {"Lumaventa", "user", "windowstate", "0", false},
        {"Kinetrova", "File", "LastFile", "/w/a.txt", false},
        {"Kinetrova", "user", "windowstate", "0", true},
        {"Kinetrova", "user", "weight", "1", true},
        {"kinetrova", "USER", "frmMainWidth", "8800", true},
    };
    for (const Case& c : cases) {
        MemorySettingsStore settings;
        if (c.app)
            settings.SaveSetting(c.app, c.section, c.key, c.value);
        EXPECT_EQ(SettingsCleanup(settings).kinetrovaHasRun(), c.hasRun) << (c.app ? c.key : "empty store");
    }
}

TEST(SettingsCleanupTest, YesDeletesBothApplicationsWhateverIsMissing)
{
    for (const bool withEarlier : {true, false}) {
        MemorySettingsStore settings;
        settings.SaveSetting("Kinetrova", "user", "weight", "170");
        if (withEarlier)
            settings.SaveSetting("Lumaventa", "File", "LastFile", "/w/b.txt");
        settings.SaveSetting("Other", "s", "k", "v");
        SettingsCleanup(settings).deleteSettings();
        EXPECT_EQ(settings.GetSetting("Kinetrova", "user", "weight", "-"), "-");
        EXPECT_EQ(settings.GetSetting("Lumaventa", "File", "LastFile", "-"), "-");
        EXPECT_EQ(settings.GetSetting("Other", "s", "k"), "v");
    }
}

class RegDelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FileSettingsStore settings(FileSettingsStore::defaultPath());
        settings.SaveSetting("Kinetrova", "user", "windowstate", "0");
        settings.SaveSetting("Lumaventa", "File", "LastFile", "/w/b.txt");
        settings.SaveSetting("Other", "s", "k", "v");
        QFile notes(home.configHome() + "/kinetrova/notes.txt");
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
        notes.write("kept");
    }
    static QByteArray bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
    }

    test::ScopedXdgHome home;
};

TEST_F(RegDelTest, TheWindowAsksAndOnlyYesDeletes)
{
    const QString path = FileSettingsStore::defaultPath();
    const QByteArray before = bytes(path);
    FileSettingsStore settings(path);
    SettingsCleanup cleanup(settings);
    ASSERT_TRUE(cleanup.kinetrovaHasRun());

    for (const char* button : {"cmdNo", "cmdYes"}) {
        RegDelWindow window(cleanup);
        window.show();
        EXPECT_EQ(window.objectName(), "frmMainkntrRegDel");
        EXPECT_EQ(window.windowTitle(), "Kinetrova Installation");
        EXPECT_EQ(window.findChild<QGroupBox*>("Frame1")->title(),
                  "Do you wish to delete previous Kinetrova settings?");
        EXPECT_EQ(window.findChild<QFrame*>("Frame2")->findChild<QPushButton*>("cmdYes")->text(), "&Yes");
        EXPECT_EQ(window.findChild<QFrame*>("Frame3")->findChild<QPushButton*>("cmdNo")->text(), "&No");
        EXPECT_EQ(window.findChild<QLabel*>("Label1")->text(),
                  "Recommended selection is Yes.\n\nSelect YES if you had error messages with the last "
                  "version of this program.");
        EXPECT_EQ(window.findChild<QLabel*>("Label2")->text(),
                  "Select NO to preserve previous Kinetrova settings.");
        QTest::mouseClick(window.findChild<QPushButton*>(button), Qt::LeftButton);
        EXPECT_FALSE(window.isVisible());
        if (QByteArray(button) == "cmdNo") {
            EXPECT_EQ(bytes(path), before) << "No leaves the file as it was";
        }
    }
    FileSettingsStore reread(path);
    EXPECT_FALSE(SettingsCleanup(reread).kinetrovaHasRun());
    EXPECT_EQ(reread.GetSetting("Lumaventa", "File", "LastFile", "-"), "-");
    EXPECT_EQ(reread.GetSetting("Other", "s", "k"), "v");
    EXPECT_EQ(bytes(home.configHome() + "/kinetrova/notes.txt"), "kept");
}

TEST_F(RegDelTest, TheProgramEndsAtOnceWhereKinetrovaNeverRanAndWaitsWhereItDid)
{
    // A fresh account with no display at all: no window system is ever touched.
    QTemporaryDir fresh;
    QProcess regDel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", fresh.path());
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    regDel.setProcessEnvironment(env);
    regDel.start(KNTR_REGDEL, {});
    ASSERT_TRUE(regDel.waitForFinished(5000));
    EXPECT_EQ(regDel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(regDel.exitCode(), 0);
    EXPECT_TRUE(QDir(fresh.path()).isEmpty());

    // With Kinetrova's settings but no display (an installer script in a
    // terminal) it says why it cannot ask and deletes nothing.
    env.insert("XDG_CONFIG_HOME", home.configHome());
    for (const char* platform : {"xcb", ""}) {
        env.insert("QT_QPA_PLATFORM", platform);
        regDel.setProcessEnvironment(env);
        regDel.start(KNTR_REGDEL, {});
        ASSERT_TRUE(regDel.waitForFinished(5000));
        EXPECT_EQ(regDel.exitStatus(), QProcess::NormalExit) << platform;
        EXPECT_EQ(regDel.exitCode(), 0) << platform;
        EXPECT_EQ(regDel.readAllStandardError(),
                  "kntrRegDel needs a desktop session; nothing was deleted.\n");
    }
    EXPECT_TRUE(QFileInfo::exists(home.configHome() + "/kinetrova")) << "nothing was deleted";

    // With Kinetrova's settings it shows its window and waits for an answer.
    env.insert("QT_QPA_PLATFORM", "offscreen");
    regDel.setProcessEnvironment(env);
    regDel.start(KNTR_REGDEL, {});
    ASSERT_TRUE(regDel.waitForStarted());
    EXPECT_FALSE(regDel.waitForFinished(1000));
    regDel.kill();
    regDel.waitForFinished();
}

} // namespace
