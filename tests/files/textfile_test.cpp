// Reading and replacing workout and user files: only regular files of a workout file's size.

#include "files/textfile.h"
#include "testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kntr;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + "/" + name; }
    QString fifo(const QString& name) const
    {
        const QString p = path(name);
        EXPECT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
        return p;
    }

    QTemporaryDir dir;
};

TEST_F(TextFileTest, ReadsOnlyRegularFilesUpToTheCapAtOnce)
{
    ASSERT_TRUE(writeTextFile(path("one.txt"), QByteArray(kMaxTextFileBytes, 'x')));
    EXPECT_EQ(readWholeFile(path("one.txt")).value_or("").size(), kMaxTextFileBytes);

    // Sparse: takes no disk space, and must not be read into memory either.
    QFile big(path("big.txt"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(3LL << 30));
    big.close();
    ASSERT_TRUE(writeTextFile(path("over.txt"), QByteArray(kMaxTextFileBytes + 1, 'x')));

    const struct {
        QString file;
        const char* reason;
    } refused[] = {
        {"/dev/zero", "Not a regular file"},
        {fifo("pipe.txt"), "Not a regular file"}, // nobody writes to it: opening it would wait
        {dir.path(), "Is a folder, not a file"},
        {path("big.txt"), "File too large (more than 1 MB)"},
        {path("over.txt"), "File too large (more than 1 MB)"},
        {path("missing.txt"), "No such file or directory"},
    };
    QElapsedTimer clock;
    clock.start();
    for (const auto& r : refused) {
        QString error;
        EXPECT_FALSE(readWholeFile(r.file, &error)) << r.file.toStdString();
        EXPECT_EQ(error, r.reason) << r.file.toStdString();
    }
    EXPECT_LT(clock.elapsed(), 2000);
}

TEST_F(TextFileTest, ReadsUpToOneByteOverTheLimitFromWhereTheFileStands)
{
    ASSERT_TRUE(writeTextFile(path("ten.txt"), "0123456789"));
    const struct {
        qint64 skip, limit;
        QByteArray read;
    } cases[] = {
        {0, 100, "0123456789"}, {0, 10, "0123456789"}, {0, 4, "01234"},
        {3, 100, "3456789"},    {10, 5, ""},           {0, 200000, "0123456789"},
    };
    for (const auto& c : cases) {
        QFile f(path("ten.txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly) && f.seek(c.skip));
        EXPECT_EQ(readUpTo(f, c.limit).value_or("<failed>"), c.read) << c.skip << " " << c.limit;
    }
    // A file longer than its size said (/proc files say 0) is still read to the limit.
    QFile proc("/proc/self/status");
    ASSERT_TRUE(proc.open(QIODevice::ReadOnly));
    EXPECT_EQ(readUpTo(proc, 5).value_or("").size(), 6);
}

TEST_F(TextFileTest, ReplacesOnlyRegularFiles)
{
    ASSERT_TRUE(writeTextFile(path("a.txt"), "old"));
    ASSERT_TRUE(writeTextFile(path("a.txt"), "new"));
    EXPECT_EQ(readWholeFile(path("a.txt")).value_or(""), "new");

    const QString pipe = fifo("pipe.txt");
    for (const QString& target : {QStringLiteral("/dev/null"), pipe, dir.path()}) {
        QString error;
        EXPECT_FALSE(writeTextFile(target, "text", &error)) << target.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    struct stat st { };
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode)) << "the pipe is still a pipe";
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.txt"}) << "no temporary left";
}

} // namespace
