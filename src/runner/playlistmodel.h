#pragma once

#include "files/musiclist.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace kntr {

class FileDialogs;
class MediaPlayer;
class MessageBoxes;
class SettingsStore;

/// What the play-list editor window (frmAudioWMP) shows and does, without
/// widgets: the list of music files of the live run's play list with the ID3
/// offset of each, the play-list file name, and the Add, Del, Move, Browse,
/// Save As and Save actions. The play list itself is an ASX file.
class PlayListModel {
public:
    static const QString kCaption;
    /// The Add file dialog's filter: audio files, then each kind alone.
    static const QString kAudioFilter;

    /// One row of the list: a music file and the byte offset of its first audio byte.
    struct Row {
        QString path;
        qint64 id3Offset = 0;
    };

    PlayListModel(SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages);

    /// Loads the window: the stored play list (audio/ASXfilename) goes into the
    /// file name box, which loads its rows.
    void load();

    const std::vector<Row>& rows() const { return mRows.rows(); }
    QStringList paths() const { return mRows.paths(); }
    /// The selected row, from 0; -1 when none is selected.
    int selectedRow() const { return mRows.selected(); }
    void selectRow(int row);
    /// The play-list file name box (txtBrowse).
    const QString& playListPath() const { return mPlayListPath; }

    /// Adds the music files chosen together in an open dialog, in the order
    /// given, and remembers their folder.
    void addFile();
    /// Deletes the selected row, or the last row when none is selected.
    void removeFile();
    /// Exchanges the selected row with the one above; the selection moves with it.
    void moveUp();
    /// Exchanges the selected row with the one below; the selection moves with it.
    void moveDown();
    /// Chooses a play list in an open dialog and loads it.
    void browse();
    /// The user typed a name into the file name box: the name of a play list
    /// that exists loads it; a new name names the list shown, whose rows stay
    /// (".asx" is added to a name without an extension). Nothing is written.
    void nameList(const QString& typed);
    /// Save As: writes the rows to a play list chosen in a save dialog, which
    /// proposes the list's own name; the list then goes by that name. The window
    /// stays open and the run's play list is left as it was until Save.
    bool saveAs();
    /// Save: writes the rows as a play list chosen in a save dialog and stores it
    /// as the run's play list. Returns true when written (the window then closes);
    /// false when the dialog was cancelled or the file could not be written.
    bool accept();
    /// The file name box changed to path: the list is emptied and the play list
    /// at path, if it can be read, fills it.
    void setListPath(const QString& path);

    /// The play list the run uses once the window has closed (the stored
    /// audio/ASXfilename); empty when there is none.
    QString playListFileName() const;

    /// The byte offset of the first audio byte of the music file at path: after
    /// the ID3v2 tag when the file starts with "ID3" (the tag's size + 10), else 0;
    /// also 0 when the file cannot be read.
    static qint64 id3Offset(const QString& path);

    /// The player whose check of a play list's entries Save reports: files it
    /// would pass over in a run (a corrupt MP3, a missing file) are named then.
    void setPlayabilityCheck(MediaPlayer& player) { mPlayer = &player; }

    /// Called after every change of what the window shows.
    void setChangeHandler(std::function<void()> handler) { mOnChange = std::move(handler); }

private:
    void appendRow(const QString& path);
    /// Writes the rows to a file chosen in the save dialog; its path, or nothing
    /// when cancelled or not written (the user has been told why).
    std::optional<QString> writeChosenFile();
    /// Names the entries of the saved play list at path that a run would pass over.
    void reportUnplayable(const QString& path);
    /// Moves the selected row one place up (-1) or down (+1).
    void exchange(int step);
    void changed();
    /// The stored folder when it exists, else empty.

    SettingsStore& mSettings;
    FileDialogs& mDialogs;
    MessageBoxes& mMessages;
    MediaPlayer* mPlayer = nullptr;
    MusicList<Row> mRows;
    QString mPlayListPath;
    std::function<void()> mOnChange;
};

} // namespace kntr
