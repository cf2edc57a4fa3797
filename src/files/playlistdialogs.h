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

/// Save As for a play list: the list's own name in its own folder, or for a
/// list not saved yet "temp.asx" in the remembered play-list folder (else the
/// home folder). The chosen file as an absolute path; nothing when cancelled.
std::optional<QString> chooseFileToSave(FileDialogs& dialogs, const SettingsStore& settings,
                                        const QString& currentPath);

} // namespace PlayListDialogs

} // namespace kntr
