#include "files/recentfiles.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <gtest/gtest.h>

using namespace kntr;

namespace {

QString stored(const SettingsStore& settings, const QString& key)
{
    return settings.GetSetting("Kinetrova", "MRUList", key);
}

TEST(RecentFiles, NewestFirstAtMostFourAndStored)
{
    MemorySettingsStore settings;
    RecentFiles recent(settings);
    int changes = 0;
    QObject::connect(&recent, &RecentFiles::changed, [&changes] { ++changes; });

    for (const char* p : {"/w/a.txt", "/w/b.txt", "/w/c.txt", "/w/d.txt", "/w/e.txt"})
        recent.AddRecentFile(p, p);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(recent.paths(), QStringList({"/w/e.txt", "/w/d.txt", "/w/c.txt", "/w/b.txt"}));
    EXPECT_EQ(recent.RecentFilePath(1), "/w/e.txt");
    EXPECT_EQ(recent.RecentFilePath(4), "/w/b.txt");
    EXPECT_EQ(recent.RecentFilePath(5), "");
    EXPECT_EQ(recent.RecentFilePath(0), "");
    EXPECT_EQ(stored(settings, "Name1"), "/w/e.txt");
    EXPECT_EQ(stored(settings, "Title4"), "/w/b.txt");
    EXPECT_EQ(recent.menuText(1), "&1 /w/e.txt");
    EXPECT_EQ(recent.menuText(4), "&4 /w/b.txt");
}

TEST(RecentFiles, TheSameFileInAnotherCaseMovesToTheTopAsNewlyWritten)
{
    MemorySettingsStore settings;
    RecentFiles recent(settings);
    recent.AddRecentFile("/w/Hills.txt", "/w/Hills.txt");
    recent.AddRecentFile("/w/flat.txt", "/w/flat.txt");
    recent.AddRecentFile("/w/hills.TXT", "/w/hills.TXT");
    EXPECT_EQ(recent.paths(), QStringList({"/w/hills.TXT", "/w/flat.txt"}));
    EXPECT_EQ(recent.titles(), QStringList({"/w/hills.TXT", "/w/flat.txt"}));
    EXPECT_EQ(stored(settings, "Name1"), "/w/hills.TXT");
    EXPECT_EQ(stored(settings, "Name2"), "/w/flat.txt");
}

TEST(RecentFiles, LoadingReadsTheStoredEntriesAndSkipsEmptyOnes)
{
    MemorySettingsStore settings;
    settings.SaveSetting("Kinetrova", "MRUList", "Name1", "/w/a.txt");
    settings.SaveSetting("Kinetrova", "MRUList", "Title1", "A");
    settings.SaveSetting("Kinetrova", "MRUList", "Name3", "/w/c & d.ktr");
    settings.SaveSetting("Kinetrova", "MRUList", "Title3", "/w/c & d.ktr");
    RecentFiles recent(settings);
    int changes = 0;
    QObject::connect(&recent, &RecentFiles::changed, [&changes] { ++changes; });
    recent.LoadRecentFiles();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(recent.count(), 2);
    EXPECT_EQ(recent.menuText(1), "&1 A");
    EXPECT_EQ(recent.menuText(2), "&2 /w/c && d.ktr") << "an & in a title shows as itself";
    EXPECT_EQ(recent.RecentFilePath(2), "/w/c & d.ktr");
}

TEST(RecentFiles, ARemovedEntryStaysGoneAfterReloading)
{
    MemorySettingsStore settings;
    RecentFiles recent(settings);
    for (const char* p : {"/w/a.txt", "/w/b.txt", "/w/c.txt"})
        recent.AddRecentFile(p, p);
    int changes = 0;
    QObject::connect(&recent, &RecentFiles::changed, [&changes] { ++changes; });

    recent.RemoveRecentFile("/W/B.TXT");
    recent.RemoveRecentFile("/w/never.txt");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(recent.paths(), QStringList({"/w/c.txt", "/w/a.txt"}));
    EXPECT_EQ(stored(settings, "Name2"), "/w/a.txt");
    EXPECT_EQ(stored(settings, "Name3"), "");
    EXPECT_EQ(stored(settings, "Title3"), "");
    RecentFiles reloaded(settings);
    reloaded.LoadRecentFiles();
    EXPECT_EQ(reloaded.paths(), recent.paths());
    EXPECT_EQ(reloaded.titles(), recent.titles());
}

} // namespace
