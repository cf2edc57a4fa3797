#include "files/playlistdialogs.h"
#include "files/asxplaylist.h"
#include "platform/memorysettingsstore.h"
#include "runner/playlistmodel.h"

#include "manualclock.h"
#include "recordingmediaplayer.h"
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
    // One file, a cancelled dialog, then two files chosen together.
    dialogs.script(a);
    dialogs.scriptCancel();
    dialogs.scriptMany({b, c});
    for (int i = 0; i < 3; ++i)
        editor.addFile();

    ASSERT_EQ(dialogs.requests().size(), 3u);
    EXPECT_EQ(dialogs.requests()[0].filter, PlayListModel::kAudioFilter);
    EXPECT_EQ(dialogs.requests()[0].folder, dir.path());
    EXPECT_EQ(setting("File", "MP3Directory"), dir.filePath("sub")) << "the last file's folder";
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

TEST_F(PlayListModelTest, ANewListIsNamedThenSavedUnderItsOwnName)
{
    const QString music = file("albums/a.mp3");
    editor.load();
    EXPECT_TRUE(editor.playListPath().isEmpty());
    dialogs.script(music);
    editor.addFile();

    // Unnamed, with no play-list folder known: the music's folder is proposed.
    dialogs.scriptCancel();
    EXPECT_FALSE(editor.accept());
    EXPECT_EQ(dialogs.requests().back().fileName, PlayListDialogs::kNewListName);
    EXPECT_EQ(dialogs.requests().back().folder, dir.filePath("albums"));

    // A typed name names the list; its rows stay and nothing is written yet.
    editor.nameList(dir.filePath("lists/morning"));
    EXPECT_EQ(editor.playListPath(), dir.filePath("lists/morning.asx"));
    EXPECT_EQ(editor.paths(), QStringList{music});
    EXPECT_FALSE(QFileInfo::exists(editor.playListPath()));

    // Save proposes that name in its folder; a folder that is not there is
    // reported with the file, the cause and the way out.
    dialogs.script(editor.playListPath());
    EXPECT_FALSE(editor.accept());
    EXPECT_EQ(dialogs.requests().back().fileName, "morning.asx");
    EXPECT_EQ(dialogs.requests().back().folder, dir.filePath("lists"));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_TRUE(messages.shown()[0].text.startsWith("Could not save the play list "
                                                    + dir.filePath("lists/morning.asx") + ": "))
        << messages.shown()[0].text.toStdString();
    EXPECT_TRUE(messages.shown()[0].text.contains("Choose another folder with Save As"));
    EXPECT_EQ(messages.shown()[0].icon, MessageBoxes::Icon::Exclamation);
    EXPECT_TRUE(editor.playListFileName().isEmpty());

    // Save As writes and keeps editing; the run's list changes only with Save.
    dialogs.script(dir.filePath("morning.asx"));
    EXPECT_TRUE(editor.saveAs());
    EXPECT_EQ(editor.playListPath(), dir.filePath("morning.asx"));
    EXPECT_EQ(AsxPlayList::read(dir.filePath("morning.asx")), QStringList{music});
    EXPECT_TRUE(editor.playListFileName().isEmpty());

    // Typing the name of a list that exists loads it.
    ASSERT_TRUE(AsxPlayList::write(dir.filePath("other.asx"), {music, music}));
    editor.nameList("other");
    EXPECT_EQ(editor.playListPath(), dir.filePath("other.asx"));
    EXPECT_EQ(editor.paths().size(), 2);

    // An empty list saves the first line and "</Asx>".
    editor.removeFile();
    editor.removeFile();
    dialogs.script(dir.filePath("empty.asx"));
    EXPECT_TRUE(editor.accept());
    EXPECT_EQ(editor.playListFileName(), dir.filePath("empty.asx"));
    QFile written(dir.filePath("empty.asx"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("<Asx Version = \"3.0\" > \r\n</Asx>"));
}

TEST_F(PlayListModelTest, SaveNamesTheMusicARunWouldPassOver)
{
    ManualClock clock;
    RecordingMediaPlayer player{clock};
    editor.setPlayabilityCheck(player);
    const QString list = dir.filePath("run.asx");
    dialogs.scriptMany({file("good.mp3"), file("corrupt.mp3")});
    editor.addFile();

    player.scriptPlayList(list, {120.0, 0.0});
    dialogs.script(list);
    EXPECT_TRUE(editor.accept());
    ASSERT_EQ(messages.shown().size(), 1u);
    const QString& text = messages.shown()[0].text;
    EXPECT_TRUE(text.contains(list)) << text.toStdString();
    EXPECT_TRUE(text.contains("entry 2 was skipped: it cannot be played"));
    EXPECT_TRUE(text.contains("Audio > Play list"));
    EXPECT_EQ(messages.shown()[0].icon, MessageBoxes::Icon::Exclamation);

    player.scriptPlayList(list, {120.0, 90.0});
    dialogs.script(list);
    EXPECT_TRUE(editor.accept());
    EXPECT_EQ(messages.shown().size(), 1u) << "a list that plays is saved without a word";
}
