// The settings file on disk: where it lives, sharing between programs, damage and kills.

#include "platform/filesettingsstore.h"
#include "filesizelimit.h"
#include "testenv.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace kntr;

namespace {

/// Collects the warnings issued while it lives (and keeps them out of the test output).
class Warnings {
public:
    Warnings()
        : mPrevious(qInstallMessageHandler(&Warnings::collect))
    {
        sCurrent = this;
    }
    ~Warnings()
    {
        qInstallMessageHandler(mPrevious);
        sCurrent = nullptr;
    }
    int count(const QString& part) const { return mAll.filter(part).size(); }
    const QStringList& all() const { return mAll; }

private:
    static void collect(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (type == QtWarningMsg && sCurrent)
            sCurrent->mAll << text;
    }
    static inline Warnings* sCurrent = nullptr;
    QtMessageHandler mPrevious;
    QStringList mAll;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

/// What is at a path, in enough detail to tell that it was not replaced nor changed.
QString image(const QString& path)
{
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return QStringLiteral("absent");
    QString text = QStringLiteral("type %1 inode %2 size %3 mtime %4.%5")
                       .arg(st.st_mode & S_IFMT)
                       .arg(st.st_ino)
                       .arg(st.st_size)
                       .arg(st.st_mtim.tv_sec)
                       .arg(st.st_mtim.tv_nsec);
    if (S_ISREG(st.st_mode)) {
        ::chmod(QFile::encodeName(path).constData(), st.st_mode | S_IRUSR);
        text += QStringLiteral(" md5 ")
            + QString::fromLatin1(QCryptographicHash::hash(readFile(path), QCryptographicHash::Md5).toHex());
        ::chmod(QFile::encodeName(path).constData(), st.st_mode);
    }
    return text;
}

const QByteArray kWeight150 = R"({"Kinetrova": {"user": {"weight": "150"}}})";

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

// A read is served from memory until the file changes; every way another program
// can change it is seen, even when size and modification time stay the same.
TEST(SettingsFile, ReadsSeeEveryKindOfChange)
{
    struct Case {
        const char* name;
        bool inPlace; // rewrite the file itself, or write a new one and rename it over
    };
    for (const Case& c : {Case{"rename over", false}, Case{"rewrite in place", true}}) {
        SCOPED_TRACE(c.name);
        test::ScopedXdgHome home;
        const QString path = FileSettingsStore::defaultPath();
        writeFile(path, kWeight150);
        FileSettingsStore store(path);
        EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "150");

        struct stat old { };
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &old), 0);
        const QString target = c.inPlace ? path : path + ".new";
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(0));
        f.write(QByteArray(kWeight150).replace("150", "151"));
        f.close();
        const timespec times[2] = {old.st_atim, old.st_mtim}; // the old times again
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), times, 0), 0);
        if (!c.inPlace) {
            ASSERT_EQ(::rename(QFile::encodeName(target).constData(), QFile::encodeName(path).constData()),
                      0);
        }

        EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "151");
    }
}

// A file that cannot be read is neither read (reads give the defaults, at once) nor
// replaced (writes fail with a warning), whether it was there from the start or
// took the place of a good file after a read.
TEST(SettingsFile, AFileThatCannotBeReadIsNeverReplaced)
{
    struct Case {
        const char* name;
        std::function<void(const QString& path)> make;
    };
    const Case cases[] = {
        {"write-only file",
         [](const QString& path) {
             writeFile(path, kWeight150);
             QFile::setPermissions(path, QFile::WriteOwner);
         }},
        {"directory", [](const QString& path) { QDir().mkpath(path + "/inside"); }},
        {"FIFO", [](const QString& path) { ::mkfifo(QFile::encodeName(path).constData(), 0600); }},
        {"device", [](const QString& path) { QFile::link("/dev/zero", path); }},
        {"file over 16 MB",
         [](const QString& path) { writeFile(path, kWeight150 + QByteArray(16 * 1024 * 1024, ' ')); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedXdgHome home;
        const QString path = FileSettingsStore::defaultPath();
        writeFile(path, kWeight150);
        FileSettingsStore cached(path);
        EXPECT_EQ(cached.GetSetting("Kinetrova", "user", "weight"), "150");
        QFile::remove(path);
        c.make(path);
        const QString before = image(path);

        ::alarm(30); // a read that blocks ends the test program instead of hanging it
        Warnings warnings;
        FileSettingsStore fresh(path);
        for (FileSettingsStore* store : {&cached, &fresh}) {
            EXPECT_EQ(store->GetSetting("Kinetrova", "user", "weight", "160"), "160");
            store->SaveSetting("Kinetrova", "user", "weight", "140");
            store->SaveSetting("Kinetrova", "options", "Delay", "20");
            store->DeleteSetting("Kinetrova");
            EXPECT_EQ(store->GetSetting("Kinetrova", "options", "Delay", "10"), "10");
        }
        ::alarm(0);
        EXPECT_EQ(warnings.count("settings are not saved"), 2) << "once for each store, not at every write";
        EXPECT_EQ(image(path), before);
        EXPECT_FALSE(QFile::exists(path + ".damaged"));
    }
}

// Before a file is replaced by a write that would lose some of it, it is kept as
// settings.json.damaged; the strings that could be read are carried over.
TEST(SettingsFile, AFileARewriteWouldLoseIsSetAsideFirst)
{
    struct Case {
        const char* name;
        QByteArray content;
        const char* weight; // as read from it
    };
    const Case cases[] = {
        {"not JSON", "{ this is not json", "160"},
        {"not an object", R"(["Kinetrova"])", "160"},
        {"a number", R"({"Kinetrova": {"user": {"weight": "150", "height": 180}}})", "150"},
        {"an array", R"({"Kinetrova": {"user": {"weight": "150", "list": ["a"]}}})", "150"},
        {"an object for a value", R"({"Kinetrova": {"user": {"weight": "150", "deep": {"a": "1"}}}})", "150"},
        {"a value for a section", R"({"Kinetrova": {"user": {"weight": "150"}, "File": "x"}})", "150"},
        {"keys differing in case",
         R"({"Kinetrova": {"user": {"weight": "150"}, "options": {"Beeps": "1", "beeps": "2"}}})", "150"},
        {"sections differing in case",
         R"({"Kinetrova": {"user": {"weight": "150"}, "USER": {"height": "180"}}})", "150"},
        // A JSON reader keeps one of the two; the other would be lost.
        {"a section named twice", R"({"Kinetrova": {"user": {"height": "180"}, "user": {"weight": "150"}}})",
         "150"},
        {"an application named twice",
         R"({"Kinetrova": {"File": {"LastFile": "a.txt"}}, "Kinetrova": {"user": {"weight": "150"}}})",
         "150"},
        {"a key named twice, once escaped", R"({"Kinetrova": {"user": {"weight": "140", "weight": "150"}}})",
         "150"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ScopedXdgHome home;
        const QString path = FileSettingsStore::defaultPath();
        writeFile(path, c.content);
        Warnings warnings;
        FileSettingsStore store(path);
        EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight", "160"), c.weight);
        store.SaveSetting("Kinetrova", "options", "Delay", "20");
        EXPECT_EQ(readFile(path + ".damaged"), c.content);

        FileSettingsStore other(path);
        EXPECT_EQ(other.GetSetting("Kinetrova", "options", "Delay"), "20");
        EXPECT_EQ(other.GetSetting("Kinetrova", "user", "weight", "160"), c.weight);
        other.SaveSetting("Kinetrova", "options", "Delay", "5");
        EXPECT_FALSE(QFile::exists(path + ".damaged.1")) << "the rewritten file is whole";
    }
}

TEST(SettingsFile, AnEarlierSetAsideFileIsKept)
{
    test::ScopedXdgHome home;
    const QString path = FileSettingsStore::defaultPath();
    Warnings warnings;
    FileSettingsStore store(path);
    const QByteArray contents[] = {"first damage", "second damage", "first damage"};
    for (const QByteArray& content : contents) {
        writeFile(path, content);
        store.SaveSetting("Kinetrova", "user", "weight", content);
    }
    EXPECT_EQ(readFile(path + ".damaged"), "first damage");
    EXPECT_EQ(readFile(path + ".damaged.1"), "second damage");
    EXPECT_FALSE(QFile::exists(path + ".damaged.2")) << "the same content is kept once";
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "first damage");
}

TEST(SettingsFile, AFileThatCannotBeSetAsideIsNotReplaced)
{
    test::ScopedXdgHome home;
    const QString path = FileSettingsStore::defaultPath();
    const QByteArray damaged(4096, 'x');
    writeFile(path, damaged);
    FileSettingsStore store(path);
    {
        // No file may grow past 1 KB: the copy cannot be made, the new file could.
        Warnings warnings;
        {
            const test::FileSizeLimit small(1024);
            store.SaveSetting("Kinetrova", "user", "weight", "140");
        }
        EXPECT_EQ(warnings.count("could not be set aside"), 1);
    }
    EXPECT_EQ(readFile(path), damaged);
    EXPECT_FALSE(QFile::exists(path + ".damaged"));

    Warnings warnings;
    store.SaveSetting("Kinetrova", "user", "weight", "140");
    EXPECT_EQ(readFile(path + ".damaged"), damaged);
    EXPECT_EQ(FileSettingsStore(path).GetSetting("Kinetrova", "user", "weight"), "140");
}

TEST(SettingsFile, TwoProgramsWritingAtOnceKeepEveryKey)
{
    test::ScopedXdgHome home;
    const QString path = FileSettingsStore::defaultPath();
    constexpr int kKeys = 300;
    QProcess writers[2];
    const QString prefixes[2] = {"A", "B"};
    for (int w = 0; w < 2; ++w)
        writers[w].start(QStringLiteral(SETTINGS_WRITER), {path, prefixes[w], QString::number(kKeys)});
    for (QProcess& writer : writers) {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitCode(), 0);
        EXPECT_EQ(writer.readAllStandardError(), "") << "no writer gave up";
    }

    FileSettingsStore store(path);
    int kept = 0;
    for (const QString& prefix : prefixes)
        for (int i = 0; i < kKeys; ++i)
            kept += store.GetSetting("Kinetrova", "Race", prefix + QString::number(i)) == QString::number(i);
    EXPECT_EQ(kept, 2 * kKeys);
}

TEST(SettingsFile, AWriterThatCannotTakeTheLockDoesNotWrite)
{
    test::ScopedXdgHome home;
    const QString path = FileSettingsStore::defaultPath();
    FileSettingsStore store(path);
    store.SaveSetting("Kinetrova", "user", "weight", "150");
    const QByteArray before = readFile(path);

    // Another program's write in progress.
    const int other = ::open(QFile::encodeName(path + ".lock").constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    store.setLockTimeout(std::chrono::milliseconds(300));
    {
        Warnings warnings;
        store.SaveSetting("Kinetrova", "user", "weight", "140");
        EXPECT_EQ(warnings.count("could not be locked"), 1);
    }
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "150");

    ::close(other);
    store.SaveSetting("Kinetrova", "user", "weight", "140");
    EXPECT_EQ(FileSettingsStore(path).GetSetting("Kinetrova", "user", "weight"), "140");
}

TEST(SettingsFile, SurvivesTheWriterBeingKilled)
{
    test::ScopedXdgHome home;
    const QString path = home.configHome() + "/kinetrova/settings.json";
    {
        FileSettingsStore store(path);
        store.SaveSetting("Kinetrova", "user", "weight", "155");
    }

    for (int round = 0; round < 30; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(SETTINGS_WRITER), {path});
        ASSERT_TRUE(writer.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(5, 150));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        writer.waitForFinished();

        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        QJsonParseError error{};
        QJsonDocument::fromJson(f.readAll(), &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << "torn file after kill " << round;

        FileSettingsStore store(path);
        EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "155");
    }
    // The lock of a killed writer is released with it: the next write goes through.
    FileSettingsStore store(path);
    EXPECT_FALSE(store.GetSetting("Kinetrova", "Loop", "Counter").isEmpty())
        << "the writer never got a write done";
    store.SaveSetting("Kinetrova", "user", "weight", "156");
    EXPECT_EQ(store.GetSetting("Kinetrova", "user", "weight"), "156");
}

} // namespace
