#include "files/playlistdialogs.h"
#include "files/asxplaylist.h"
#include "platform/memorysettingsstore.h"
#include "runner/playlistmodel.h"

#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

class PlayListModelTest : public ::testing::Test {
protected:
    QString file(const QString& name, const QByteArray& bytes = "music")
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString setting(const char* section, const char* key) const
    {
        return settings.GetSetting(kAppName, section, key);
    }

    QTemporaryDir dir;
    MemorySettingsStore settings;
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    PlayListModel editor{settings, dialogs, messages};
};

} // namespace

TEST_F(PlayListModelTest, Id3OffsetIsTheFirstByteAfterTheTag)
{
    const struct {
        const char* name;
        QByteArray bytes;
        qint64 offset;
    } cases[] = {
        {"tag4096.mp3", QByteArray("ID3\x03\0\0\0\0\x20\0", 10) + QByteArray(5000, 'x'), 4096 + 10},
        {"tagmax.mp3", QByteArray("ID3\x04\0\0\x7F\x7F\x7F\x7F", 10), 268435455 + 10},
        {"frames.mp3", QByteArray("\xFF\xFB\x90\x64\0\0\0\0\0\0\0\0", 12), 0},
        {"short.mp3", QByteArray("ID3\x03\0", 5), 0},
        {"id3late.mp3", QByteArray("xID3\x03\0\0\0\0\x20\0", 11), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlayListModel::id3Offset(file(c.name, c.bytes)), c.offset) << c.name;
    EXPECT_EQ(PlayListModel::id3Offset(dir.filePath("missing.mp3")), 0);
    EXPECT_EQ(PlayListModel::id3Offset(dir.path()), 0);
}

TEST_F(PlayListModelTest, AddDeleteAndMoveRows)
{
    settings.SaveSetting(kAppName, "File", "MP3Directory", dir.path());
    const QString a = file("a.mp3", QByteArray("ID3\x03\0\0\0\0\x01\x02", 10));
    const QString b = file("sub/b.wav");
    const QString c = file("sub/c.wma");
    dialogs.script(a);
    dialogs.script(b);
    dialogs.scriptCancel();
    dialogs.script(c);
    for (int i = 0; i < 4; ++i)
        editor.addFile();

    ASSERT_EQ(dialogs.requests().size(), 4u);
    EXPECT_EQ(dialogs.requests()[0].filter, PlayListModel::kAudioFilter);
    EXPECT_EQ(dialogs.requests()[0].folder, dir.path());
    EXPECT_EQ(dialogs.requests()[3].folder, dir.filePath("sub")) << "the last file's folder";
    EXPECT_EQ(setting("File", "MP3Directory"), dir.filePath("sub"));
    EXPECT_EQ(editor.paths(), QStringList({a, b, c}));
    EXPECT_EQ(editor.rows()[0].id3Offset, 128 + 2 + 10);
    EXPECT_EQ(editor.rows()[1].id3Offset, 0);

    // Each step: the row selected first (-1 none), the action, the rows and selection after.
    enum Action { Del, Up, Down };
    const struct {
        int select;
        Action action;
        QStringList rows;
        int selected;
    } steps[] = {
        {-1, Del, {a, b}, -1}, // none selected: the last row goes
        {0, Up, {a, b}, 0}, // the first cannot go up
        {0, Down, {b, a}, 1}, // the selection moves with the row
        {1, Down, {b, a}, 1}, // the last cannot go down
        {1, Up, {a, b}, 0},    {0, Del, {b}, -1},
        {-1, Del, {}, -1},     {-1, Del, {}, -1}, // an empty list stays empty
        {-1, Up, {}, -1},
    };
    for (const auto& s : steps) {
        editor.selectRow(s.select);
        switch (s.action) {
        case Del:
            editor.removeFile();
            break;
        case Up:
            editor.moveUp();
            break;
        case Down:
            editor.moveDown();
            break;
        }
        EXPECT_EQ(editor.paths(), s.rows) << "step " << (&s - steps);
        EXPECT_EQ(editor.selectedRow(), s.selected) << "step " << (&s - steps);
    }
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PlayListModelTest, BrowseLoadsAPlayListAndSaveStoresIt)
{
    const QString a = file("a.mp3", QByteArray("ID3\x03\0\0\0\0\x20\0", 10));
    const QString first = dir.filePath("first.asx");
    const QString other = dir.filePath("lists/other.ASX");
    QDir().mkpath(dir.filePath("lists"));
    ASSERT_TRUE(AsxPlayList::write(first, {a}));
    ASSERT_TRUE(AsxPlayList::write(other, {dir.filePath("x.wav"), a}));
    settings.SaveSetting(kAppName, "audio", "ASXfilename", first);
    settings.SaveSetting(kAppName, "File", "ASXDirectory", dir.filePath("lists"));

    editor.load();
    EXPECT_EQ(editor.playListPath(), first);
    ASSERT_EQ(editor.paths(), QStringList{a});
    EXPECT_EQ(editor.rows()[0].id3Offset, 4096 + 10);

    // Browse: cancelled, a name without "asx", then a play list.
    dialogs.scriptCancel();
    dialogs.script(file("list.txt"));
    dialogs.script(other);
    for (int i = 0; i < 3; ++i)
        editor.browse();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, PlayListDialogs::kNotPlayListMessage);
    EXPECT_EQ(dialogs.requests()[0].title, "Open");
    EXPECT_EQ(dialogs.requests()[0].filter, "Playlist Files (*.asx)");
    EXPECT_EQ(dialogs.requests()[0].folder, dir.filePath("lists"));
    EXPECT_EQ(editor.playListPath(), other);
    EXPECT_EQ(editor.paths(), QStringList({dir.filePath("x.wav"), a}));
    EXPECT_EQ(setting("audio", "ASXfilename"), first) << "stored only when saved";

    // Save: cancelled writes nothing; then the list replaces the chosen file.
    editor.removeFile();
    dialogs.scriptCancel();
    EXPECT_FALSE(editor.accept());
    EXPECT_EQ(AsxPlayList::read(other)->size(), 2);
    const QString saved = dir.filePath("saved.asx");
    file("saved.asx", "old content that is longer than the new list");
    dialogs.script(saved);
    EXPECT_TRUE(editor.accept());
    const FileDialogRequest& request = dialogs.requests().back();
    EXPECT_EQ(request.title, "Save As");
    EXPECT_EQ(request.filter, "Playlist Files (*.asx)");
    EXPECT_EQ(request.folder, dir.filePath("lists"));
    EXPECT_EQ(request.fileName, "other.ASX");
    QFile written(saved);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), AsxPlayList::text({dir.filePath("x.wav")}));
    EXPECT_EQ(editor.playListPath(), saved);
    EXPECT_EQ(setting("audio", "ASXfilename"), saved);
    EXPECT_EQ(setting("File", "ASXDirectory"), dir.path());
    EXPECT_EQ(setting("audio", "volOption"), "5");
    EXPECT_EQ(editor.playListFileName(), saved);
}

TEST_F(PlayListModelTest, SaveProposesTempAsxAndReportsAFailedWrite)
{
    settings.SaveSetting(kAppName, "File", "ASXDirectory", dir.path());
    editor.load();
    EXPECT_TRUE(editor.playListPath().isEmpty());
    EXPECT_TRUE(editor.paths().isEmpty());
    EXPECT_TRUE(editor.playListFileName().isEmpty());

    dialogs.script(dir.filePath("no/such/folder/list.asx"));
    EXPECT_FALSE(editor.accept());
    EXPECT_EQ(dialogs.requests().back().fileName, "temp.asx");
    EXPECT_EQ(dialogs.requests().back().folder, dir.path());
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(editor.playListFileName().isEmpty());
    EXPECT_TRUE(editor.playListPath().isEmpty());

    // An empty list saves the first line and "</Asx>".
    dialogs.script(dir.filePath("empty.asx"));
    EXPECT_TRUE(editor.accept());
    QFile written(dir.filePath("empty.asx"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("<Asx Version = \"3.0\" > \r\n</Asx>"));
}
