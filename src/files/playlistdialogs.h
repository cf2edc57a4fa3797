#pragma once

#include <QString>

#include <optional>

namespace kntr {

class FileDialogs;
class SettingsStore;

/// The play-list file dialogs the music windows share.
namespace PlayListDialogs {

inline const QString kFilter = QStringLiteral("Playlist Files (*.asx)");
inline const QString kNotPlayListMessage =
    QStringLiteral("File not identified as a playlist file. Please try a another file.");

/// folder while it exists, else empty: where a dialog may start.
QString existingFolder(const QString& folder);
/// A remembered folder (FileSettings::folder) while it exists, else empty.
QString existingFolder(const SettingsStore& settings, const QString& key);

/// The name proposed for a play list not named yet.
inline const QString kNewListName = QStringLiteral("playlist.asx");

/// Save As for a play list: the list's own name in its own folder, or for a
/// list not named yet kNewListName in the remembered play-list folder, else in
/// the folder of the list's first music file, else in the home folder. The
/// chosen file as an absolute path; nothing when cancelled.
std::optional<QString> chooseFileToSave(FileDialogs& dialogs, const SettingsStore& settings,
                                        const QString& currentPath, const QString& firstEntry = QString());

/// The message for a play list that could not be written: the file, the cause
/// and what to do about it.
QString saveFailedMessage(const QString& path, const QString& cause);

} // namespace PlayListDialogs

} // namespace kntr
