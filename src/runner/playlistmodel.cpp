#include "playlistmodel.h"

#include "files/musiclist.h"
#include "files/playlistdialogs.h"

#include "files/asxplaylist.h"
#include "model/storedsettings.h"
#include "platform/filedialogs.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace kntr {

const QString PlayListModel::kCaption = QStringLiteral("Kinetrova - Audio Source");
const QString PlayListModel::kAudioFilter = QStringLiteral(
    "Audio Files (*.mp3 *.wav *.wma);;MP3 Files (*.mp3);;Wave Files (*.wav);;WMA Files (*.wma)");

PlayListModel::PlayListModel(SettingsStore& settings, FileDialogs& dialogs, MessageBoxes& messages)
    : mSettings(settings)
    , mDialogs(dialogs)
    , mMessages(messages)
{
}

void PlayListModel::load()
{
    setListPath(AudioSettings(mSettings).playList());
}

void PlayListModel::selectRow(int row)
{
    mRows.select(row);
    changed();
}

void PlayListModel::addFile()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = kAudioFilter;
    request.folder = PlayListDialogs::existingFolder(mSettings, QStringLiteral("MP3Directory"));
    const std::optional<QString> chosen = mDialogs.getOpenFileName(request);
    if (!chosen)
        return;
    const QFileInfo file(*chosen);
    appendRow(file.absoluteFilePath());
    FileSettings(mSettings).setFolder(QStringLiteral("MP3Directory"), file.absolutePath());
    changed();
}

void PlayListModel::removeFile()
{
    if (mRows.removeSelectedOrLast())
        changed();
}

void PlayListModel::moveUp()
{
    exchange(-1);
}

void PlayListModel::moveDown()
{
    exchange(+1);
}

void PlayListModel::browse()
{
    FileDialogRequest request;
    request.title = QStringLiteral("Open");
    request.filter = PlayListDialogs::kFilter;
    request.folder = PlayListDialogs::existingFolder(mSettings, QStringLiteral("ASXDirectory"));
    const std::optional<QString> chosen = mDialogs.getOpenFileName(request);
    if (!chosen)
        return;
    if (QFileInfo(*chosen).suffix().toLower() != QLatin1String("asx")) {
        mMessages.show(PlayListDialogs::kNotPlayListMessage, MessageBoxes::Icon::Exclamation);
        return;
    }
    setListPath(QFileInfo(*chosen).absoluteFilePath());
}

bool PlayListModel::accept()
{
    const std::optional<QString> chosen =
        PlayListDialogs::chooseFileToSave(mDialogs, mSettings, mPlayListPath);
    if (!chosen)
        return false;

    // The new list replaces the old file in one step: should the write fail,
    // the previous play list is still there.
    const QFileInfo file(*chosen);
    QString error;
    if (!AsxPlayList::write(file.absoluteFilePath(), paths(), &error)) {
        mMessages.show(error, MessageBoxes::Icon::Exclamation);
        return false;
    }
    mPlayListPath = file.absoluteFilePath();
    AudioSettings audio(mSettings);
    audio.setPlayList(mPlayListPath);
    FileSettings(mSettings).setFolder(QStringLiteral("ASXDirectory"), file.absolutePath());
    audio.setMusicSource(5);
    changed();
    return true;
}

void PlayListModel::setListPath(const QString& path)
{
    mPlayListPath = path;
    mRows.clear();
    if (const std::optional<QStringList> listed = AsxPlayList::read(path))
        for (const QString& entry : *listed)
            appendRow(entry);
    changed();
}

QString PlayListModel::playListFileName() const
{
    return AudioSettings(mSettings).playList();
}

qint64 PlayListModel::id3Offset(const QString& path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return 0;
    // "ID3", version (2 bytes), flags, then the tag's size in four 7-bit bytes.
    const QByteArray header = file.read(10);
    if (header.size() < 10 || !header.startsWith("ID3"))
        return 0;
    qint64 size = 0;
    for (int i = 6; i < 10; ++i)
        size = size * 128 + static_cast<unsigned char>(header[i]);
    return size + 10;
}

void PlayListModel::appendRow(const QString& path)
{
    mRows.append({path, id3Offset(path)});
}

void PlayListModel::exchange(int step)
{
    if (mRows.moveSelected(step))
        changed();
}

void PlayListModel::changed()
{
    if (mOnChange)
        mOnChange();
}

} // namespace kntr
