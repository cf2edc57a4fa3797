// Behaviour every settings store shares, run against the in-memory and the file store.

#include "platform/filesettingsstore.h"
#include "platform/memorysettingsstore.h"
#include "testenv.h"

#include <gtest/gtest.h>

#include <memory>

using namespace kntr;

namespace {

enum class Kind { Memory, File };

class SettingsStoreTest : public ::testing::TestWithParam<Kind> {
protected:
    void SetUp() override
    {
        if (GetParam() == Kind::Memory)
            store = std::make_unique<MemorySettingsStore>();
        else
            store = std::make_unique<FileSettingsStore>(FileSettingsStore::defaultPath());
    }

    test::ScopedXdgHome home;
    std::unique_ptr<SettingsStore> store;
};

TEST_P(SettingsStoreTest, AbsentKeysReadAsTheirDefault)
{
    EXPECT_EQ(store->GetSetting("Kinetrova", "user", "windowstate", "1010101"), "1010101");
    EXPECT_EQ(store->GetSetting("Kinetrova", "user", "weight"), "");
    store->SaveSetting("Kinetrova", "user", "weight", "");
    EXPECT_EQ(store->GetSetting("Kinetrova", "user", "weight", "160"), "")
        << "an empty stored string is a value, not an absent key";
}

TEST_P(SettingsStoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    store->SaveSetting("Kinetrova", "File", "LastDirectory", "/home/a/workouts");
    EXPECT_EQ(store->GetSetting("kinetrova", "file", "lastdirectory"), "/home/a/workouts");
    store->SaveSetting("KINETROVA", "FILE", "LASTDIRECTORY", "/other");
    EXPECT_EQ(store->GetSetting("Kinetrova", "File", "LastDirectory"), "/other");
    store->SaveSetting("Kinetrova", "options", "Beeps", "2");
    EXPECT_EQ(store->GetSetting("Kinetrova", "Options", "beeps"), "2");
}

TEST_P(SettingsStoreTest, ValuesAreKeptVerbatim)
{
    const QString odd = QString::fromUtf8("  café \"quoted\" \\back\nline\ttab ");
    store->SaveSetting("Kinetrova", "File", "LastFile", odd);
    EXPECT_EQ(store->GetSetting("Kinetrova", "File", "LastFile"), odd);
}

TEST_P(SettingsStoreTest, DeletesAKeyASectionOrAnApplication)
{
    store->SaveSetting("Kinetrova", "File", "LastFile", "a");
    store->SaveSetting("Kinetrova", "File", "LastFileName", "b");
    store->SaveSetting("Kinetrova", "user", "weight", "150");
    store->SaveSetting("Lumaventa", "File", "LastFile", "old");

    store->DeleteSetting("kinetrova", "file", "lastfile");
    EXPECT_EQ(store->GetSetting("Kinetrova", "File", "LastFile", "gone"), "gone");
    EXPECT_EQ(store->GetSetting("Kinetrova", "File", "LastFileName"), "b");

    store->DeleteSetting("Kinetrova", "FILE");
    EXPECT_EQ(store->GetSetting("Kinetrova", "File", "LastFileName", "gone"), "gone");
    EXPECT_EQ(store->GetSetting("Kinetrova", "user", "weight"), "150");

    store->DeleteSetting("KINETROVA");
    EXPECT_EQ(store->GetSetting("Kinetrova", "user", "weight", "gone"), "gone");
    EXPECT_EQ(store->GetSetting("Lumaventa", "File", "LastFile"), "old");

    // Deleting what is not there is harmless.
    store->DeleteSetting("Nobody");
    store->DeleteSetting("Lumaventa", "Nothing", "Here");
    EXPECT_EQ(store->GetSetting("Lumaventa", "File", "LastFile"), "old");
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreTest, ::testing::Values(Kind::Memory, Kind::File),
                         [](const auto& info) { return info.param == Kind::Memory ? "Memory" : "File"; });

} // namespace
