// The play-list editor window driven as a user drives it, offscreen.

#include "files/asxplaylist.h"
#include "platform/memorysettingsstore.h"
#include "runner/playlistmodel.h"
#include "runner/ui/playlistwindow.h"

#include "scriptedfiledialogs.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kntr;

TEST(PlayListWindow, ShowsTheControlsAndSavesTheList)
{
    QTemporaryDir dir;
    MemorySettingsStore settings;
    ScriptedFileDialogs dialogs;
    ScriptedMessageBoxes messages;
    const QString old = dir.filePath("old.asx");
    ASSERT_TRUE(AsxPlayList::write(old, {dir.filePath("a.mp3")}));
    settings.SaveSetting(kAppName, "audio", "ASXfilename", old);
    PlayListModel model(settings, dialogs, messages);
    PlayListWindow window(model);

    EXPECT_EQ(window.objectName(), "frmAudioWMP");
    EXPECT_EQ(window.windowTitle(), "Kinetrova - Audio Source");
    auto* frame = window.findChild<QGroupBox*>("fraSelectAudioSource");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "Play list");
    const struct {
        const char* name;
        const char* caption;
    } buttons[] = {
        {"cmdAddFile", "A&dd file"}, {"cmdDelFile", "&Del file"}, {"cmdMoveUp", "&Move Up"},
        {"cmdMoveDown", "M&ove Dn"}, {"cmdBrowse", "&Browse"},    {"cmdAccept", "&Save"},
        {"cmdCancel", "&Cancel"},
    };
    for (const auto& b : buttons) {
        auto* button = window.findChild<QPushButton*>(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->text(), b.caption);
    }
    auto* list = window.findChild<QListWidget*>("lstMusicFiles");
    auto* name = window.findChild<QLineEdit*>("txtBrowse");
    ASSERT_NE(list, nullptr);
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(window.findChild<QLabel*>("lblBrowse")->text(), "Playlist file name - asx type file");

    // Opened: the stored list shows. Cancel keeps the stored play list.
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(name->text(), old);
        EXPECT_EQ(list->count(), 1);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_EQ(window.choosePlayList(), old);

    // Add a file, move it up, save under a new name: the window closes with it.
    const QString added = dir.filePath("b.wav");
    const QString saved = dir.filePath("new.asx");
    dialogs.script(added);
    dialogs.script(saved);
    QTimer::singleShot(0, &window, [&] {
        QTest::mouseClick(window.findChild<QPushButton*>("cmdAddFile"), Qt::LeftButton);
        ASSERT_EQ(list->count(), 2);
        list->setCurrentRow(1);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdMoveUp"), Qt::LeftButton);
        EXPECT_EQ(list->item(0)->text(), added);
        EXPECT_EQ(list->currentRow(), 0);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdAccept"), Qt::LeftButton);
    });
    EXPECT_EQ(window.choosePlayList(), saved);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(name->text(), saved);
    EXPECT_EQ(AsxPlayList::read(saved), QStringList({added, dir.filePath("a.mp3")}));
}
