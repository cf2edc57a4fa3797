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
        {"cmdMoveDown", "M&ove Dn"}, {"cmdBrowse", "&Browse"},    {"cmdSaveAs", "Save &As..."},
        {"cmdAccept", "&Save"},      {"cmdCancel", "&Cancel"},
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
    EXPECT_EQ(window.findChild<QLabel*>("lblBrowse")->text(), "Play list file");
    EXPECT_FALSE(name->isReadOnly());

    // Opened: the stored list shows. Cancel keeps the stored play list.
    QTimer::singleShot(0, &window, [&] {
        EXPECT_EQ(name->text(), old);
        EXPECT_EQ(list->count(), 1);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    });
    EXPECT_EQ(window.choosePlayList(), old);

    // Add two files at once, move the last up, type a new name: Save proposes
    // it, and the window closes with the list saved there.
    const QString added = dir.filePath("b.wav");
    const QString saved = dir.filePath("new.asx");
    dialogs.scriptMany({dir.filePath("c.mp3"), added});
    dialogs.script(saved);
    QTimer::singleShot(0, &window, [&] {
        QTest::mouseClick(window.findChild<QPushButton*>("cmdAddFile"), Qt::LeftButton);
        ASSERT_EQ(list->count(), 3);
        list->setCurrentRow(2);
        QTest::mouseClick(window.findChild<QPushButton*>("cmdMoveUp"), Qt::LeftButton);
        EXPECT_EQ(list->item(1)->text(), added);
        EXPECT_EQ(list->currentRow(), 1);
        name->setFocus();
        name->selectAll();
        QTest::keyClicks(name, "new");
        QTest::mouseClick(window.findChild<QPushButton*>("cmdAccept"), Qt::LeftButton);
    });
    EXPECT_EQ(window.choosePlayList(), saved);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(dialogs.requests().back().fileName, "new.asx");
    EXPECT_EQ(dialogs.requests().back().folder, dir.path());
    EXPECT_EQ(name->text(), saved);
    EXPECT_EQ(AsxPlayList::read(saved), QStringList({dir.filePath("a.mp3"), added, dir.filePath("c.mp3")}));
}
