#include "files/asxplaylist.h"

#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

TEST(AsxPlayList, WritesTheTextByteForByte)
{
    EXPECT_EQ(AsxPlayList::text({}), QByteArray("<Asx Version = \"3.0\" > \r\n</Asx>"));
    EXPECT_EQ(AsxPlayList::text({"/music/a b.mp3", "/music/Ü.wav"}),
              QByteArray("<Asx Version = \"3.0\" > \r\n"
                         "<Entry> \r\n<Ref href = \"/music/a b.mp3\"/>\r\n</Entry>\r\n"
                         "<Entry> \r\n<Ref href = \"/music/\xC3\x9C.wav\"/>\r\n</Entry>\r\n"
                         "</Asx>"));
}

TEST(AsxPlayList, ReadsThePathAfterEachRefHref)
{
    const struct {
        const char* text;
        QStringList paths;
    } cases[] = {
        {"<Asx Version = \"3.0\" > \r\n<Entry> \r\n<Ref href = \"/m/a.mp3\"/>\r\n</Entry>\r\n"
         "<Entry> \r\n<Ref href = \"/m/b.wav\"/>\r\n</Entry>\r\n</Asx>",
         {"/m/a.mp3", "/m/b.wav"}},
        // Other elements and comments are passed over; entries may stand anywhere.
        {"<ASX version=\"3.0\"><Title>Mix</Title><!-- x --><Entry><Ref href=\"/m/a.mp3\"/>"
         "<Author>\"me\"/</Author></Entry>Ref href=\"/m/c.wav\"/>",
         {"/m/a.mp3", "/m/c.wav"}},
        // A space before "/>" hides the end: the path runs on to the next quote and
        // "/", here the opening quote of the next absolute path, whose entry is lost.
        {"<Ref href = \"/m/a.mp3\" />\r\n</Entry>\r\n<Entry> \r\n<Ref href = \"/m/b.mp3\"/>\r\n"
         "<Ref href = \"/m/c.mp3\"/>",
         {"/m/a.mp3\" />\r\n</Entry>\r\n<Entry> \r\n<Ref href = ", "/m/c.mp3"}},
        // A quote inside a path ends it only when "/" follows.
        {"<Ref href = \"/m/say \"hi\".mp3\"/>", {"/m/say \"hi\".mp3"}},
        {"<Ref href = \"/m/\xC3\x9C.wav\"/>", {"/m/Ü.wav"}},
        {"<ref href = \"/m/a.mp3\"/>", {}}, // the name is matched as written
        {"<Ref href = \"/m/a.mp3\">", {}}, // no closing quote and "/"
        {"<Ref href = /m/a.mp3/>", {}}, // no quote at all
        {"<Ref href = \"\"/>", {""}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AsxPlayList::paths(c.text), c.paths) << c.text;

    const QStringList awkward = {"/m/a b.mp3", "/m/o'neil \"live\".wav", "/m/Ü.mp3"};
    EXPECT_EQ(AsxPlayList::paths(AsxPlayList::text(awkward)), awkward);
}

TEST(AsxPlayList, ReadsOnlyRegularFilesOfBoundedSize)
{
    QTemporaryDir dir;
    const QString list = dir.filePath("list.asx");
    ASSERT_TRUE(AsxPlayList::write(list, {"/m/a.mp3"}));
    ASSERT_TRUE(AsxPlayList::write(list, {"/m/b.mp3", "/m/c.mp3"})); // replaces the old list
    EXPECT_EQ(AsxPlayList::read(list), QStringList({"/m/b.mp3", "/m/c.mp3"}));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"list.asx"});

    QFile big(dir.filePath("big.asx"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(AsxPlayList::kMaxFileBytes + 1));
    big.close();

    for (const QString& path :
         {QString(), dir.path(), dir.filePath("missing.asx"), big.fileName(), QStringLiteral("/dev/zero")})
        EXPECT_FALSE(AsxPlayList::read(path).has_value()) << path.toStdString();
    EXPECT_FALSE(AsxPlayList::write(dir.filePath("no/such/folder/x.asx"), {}));
}
