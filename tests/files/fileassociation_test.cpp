#include "files/fileassociation.h"
#include "files/textfile.h"
#include "version.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

struct ToolRun {
    QString program;
    QStringList arguments;
};

TEST(FileAssociation, WritesTheDesktopEntryAndMimeTypeOnce)
{
    test::ScopedXdgHome home;
    std::vector<ToolRun> runs;
    const ToolRunner record = [&runs](const QString& p, const QStringList& a) { runs.push_back({p, a}); };

    RegisterUserFileType("/opt/kinetrova/bin/kinetrova", {}, record);
    const QString desktop = home.dataHome() + "/applications/kinetrova.desktop";
    const QString mime = home.dataHome() + "/mime/packages/kinetrova.xml";
    const QByteArray entry = readWholeFile(desktop).value_or("");
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(entry.contains("\nExec=/opt/kinetrova/bin/kinetrova %f\n"));
    EXPECT_TRUE(entry.contains("\nMimeType=application/x-kinetrova-user;\n"));
    EXPECT_TRUE(entry.contains("\nName=Kinetrova\n"));
    const QByteArray types = readWholeFile(mime).value_or("");
    EXPECT_TRUE(types.contains("<mime-type type=\"application/x-kinetrova-user\">"));
    EXPECT_TRUE(types.contains("<glob pattern=\"*.ktr\"/>"));

    // The databases are refreshed with the tools that are installed.
    std::vector<QString> expected;
    if (!QStandardPaths::findExecutable("update-desktop-database").isEmpty())
        expected.push_back(home.dataHome() + "/applications");
    if (!QStandardPaths::findExecutable("update-mime-database").isEmpty())
        expected.push_back(home.dataHome() + "/mime");
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(runs[i].arguments, QStringList{expected[i]});

    // The next start finds everything in place and refreshes nothing.
    runs.clear();
    RegisterUserFileType("/opt/kinetrova/bin/kinetrova", {}, record);
    EXPECT_TRUE(runs.empty());
    // A moved program is written anew.
    RegisterUserFileType("/home/me/kinetrova/build/bin/kinetrova", {}, record);
    EXPECT_TRUE(
        readWholeFile(desktop).value_or("").contains("Exec=/home/me/kinetrova/build/bin/kinetrova %f"));
}

TEST(FileAssociation, AnInstalledPackageLeavesTheHomeFolderAlone)
{
    test::ScopedXdgHome home;
    QDir prefix(home.path());
    ASSERT_TRUE(prefix.mkpath("usr/share/applications") && prefix.mkpath("usr/bin")
                && prefix.mkpath("build/bin") && prefix.mkpath("build/share/kinetrova"));
    ASSERT_TRUE(
        writeTextFile(prefix.filePath(QStringLiteral("usr/share/applications/%1.desktop").arg(kAppId)),
                      userFileDesktopEntry("kinetrova")));
    const struct {
        const char* executable;
        bool installed;
    } cases[] = {
        {"usr/bin/kinetrova", true},
        {"build/bin/kinetrova", false}, // a build tree has share/kinetrova but no desktop entry
        {"kinetrova", false},
    };
    for (const auto& c : cases) {
        const QString executable = prefix.filePath(c.executable);
        EXPECT_EQ(runsFromInstalledPackage(executable), c.installed) << c.executable;
        RegisterUserFileType(executable, {}, [](const QString&, const QStringList&) {});
        EXPECT_EQ(QFile::exists(home.dataHome() + "/applications/kinetrova.desktop"), !c.installed)
            << c.executable;
        QFile::remove(home.dataHome() + "/applications/kinetrova.desktop");
    }
}

TEST(FileAssociation, QuotesAProgramPathWithReservedCharacters)
{
    EXPECT_TRUE(userFileDesktopEntry("/home/me/My Apps/kinetrova")
                    .contains("\nExec=\"/home/me/My Apps/kinetrova\" %f\n"));
    // "$" is escaped inside the quotes, and the backslash once more as a string value.
    EXPECT_TRUE(userFileDesktopEntry("/opt/$x/kinetrova").contains("\nExec=\"/opt/\\\\$x/kinetrova\" %f\n"));
}

TEST(FileAssociation, FailuresAreIgnored)
{
    test::ScopedXdgHome home;
    // The data folder is a file: nothing can be written, and nothing throws or runs.
    QFile blocker(home.path() + "/blocked");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    int runs = 0;
    RegisterUserFileType("/home/me/kinetrova/build/bin/kinetrova", home.path() + "/blocked",
                         [&runs](const QString&, const QStringList&) { ++runs; });
    EXPECT_EQ(runs, 0);
}

} // namespace
