#include "playlistmodel.h"

#include "files/musiclist.h"
#include "files/playlistdialogs.h"

#include "files/asxplaylist.h"
#include "model/storedsettings.h"
#include "platform/filedialogs.h"
#include "platform/mediaplayer.h"
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
    const std::optional<QStringList> chosen = mDialogs.getOpenFileNames(request);
    if (!chosen || chosen->isEmpty())
        return;
    for (const QString& path : *chosen)
        appendRow(QFileInfo(path).absoluteFilePath());
    FileSettings(mSettings).setFolder(QStringLiteral("MP3Directory"),
                                      QFileInfo(chosen->constLast()).absolutePath());
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

void PlayListModel::nameList(const QString& typed)
{
    const QString name = typed.trimmed();
    if (name.isEmpty()) {
        mPlayListPath.clear();
        changed();
        return;
    }
    // A name without a folder goes where the list is, else where lists were kept.
    QString base = mPlayListPath.isEmpty() ? QString() : QFileInfo(mPlayListPath).absolutePath();
    if (base.isEmpty())
        base = PlayListDialogs::existingFolder(mSettings, QStringLiteral("ASXDirectory"));
    if (base.isEmpty())
        base = QDir::homePath();
    QFileInfo file(QDir(base).absoluteFilePath(name));
    if (file.suffix().isEmpty())
        file.setFile(file.absoluteFilePath() + QStringLiteral(".asx"));
    if (file.isFile()) {
        setListPath(file.absoluteFilePath());
        return;
    }
    mPlayListPath = file.absoluteFilePath();
    changed();
}

std::optional<QString> PlayListModel::writeChosenFile()
{
    const std::optional<QString> chosen =
        PlayListDialogs::chooseFileToSave(mDialogs, mSettings, mPlayListPath, paths().value(0));
    if (!chosen)
        return std::nullopt;

    // The new list replaces the old file in one step: should the write fail,
    // the previous play list is still there.
    const QString path = QFileInfo(*chosen).absoluteFilePath();
    QString error;
    if (!AsxPlayList::write(path, paths(), &error)) {
        mMessages.show(PlayListDialogs::saveFailedMessage(path, error), MessageBoxes::Icon::Exclamation);
        return std::nullopt;
    }
    return path;
}

bool PlayListModel::saveAs()
{
    const std::optional<QString> written = writeChosenFile();
    if (!written)
        return false;
    mPlayListPath = *written;
    FileSettings(mSettings).setFolder(QStringLiteral("ASXDirectory"), QFileInfo(*written).absolutePath());
    changed();
    return true;
}

bool PlayListModel::accept()
{
    const std::optional<QString> written = writeChosenFile();
    if (!written)
        return false;
    const QFileInfo file(*written);
    mPlayListPath = file.absoluteFilePath();
    AudioSettings audio(mSettings);
    audio.setPlayList(mPlayListPath);
    FileSettings(mSettings).setFolder(QStringLiteral("ASXDirectory"), file.absolutePath());
    audio.setMusicSource(5);
    changed();
    reportUnplayable(mPlayListPath);
    return true;
}

void PlayListModel::reportUnplayable(const QString& path)
{
    if (!mPlayer || mRows.rows().empty())
        return;
    const bool playable = mPlayer->setPlayList(path);
    const QStringList notes = mPlayer->skippedNotes();
    if (playable && notes.isEmpty())
        return;
    QString text = playable
        ? QStringLiteral("Some music of the play list %1 cannot be played; a workout passes over it:")
        : QStringLiteral("None of the music of the play list %1 can be played:");
    text = text.arg(QDir::toNativeSeparators(path));
    for (const QString& note : notes)
        text += QStringLiteral("\r - ") + note;
    text += QStringLiteral("\r\rRemove these files with Audio > Play list and Del file, or replace them "
                           "with copies that play.");
    mMessages.show(text, MessageBoxes::Icon::Exclamation);
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
