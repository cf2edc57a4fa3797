#include "playlistdialogs.h"

#include "model/storedsettings.h"
#include "platform/filedialogs.h"

#include <QDir>
#include <QFileInfo>

namespace kntr::PlayListDialogs {

QString existingFolder(const QString& folder)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QString();
}

QString existingFolder(const SettingsStore& settings, const QString& key)
{
    return existingFolder(FileSettings(settings).folder(key));
}

std::optional<QString> chooseFileToSave(FileDialogs& dialogs, const SettingsStore& settings,
                                        const QString& currentPath)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = kFilter;
    request.defaultSuffix = QStringLiteral("asx");
    if (currentPath.isEmpty()) {
        request.folder = existingFolder(settings, QStringLiteral("ASXDirectory"));
        if (request.folder.isEmpty())
            request.folder = QDir::homePath();
        request.fileName = QStringLiteral("temp.asx");
    } else {
        const QFileInfo current(currentPath);
        request.folder = current.absolutePath();
        request.fileName = current.fileName();
    }
    const std::optional<QString> chosen = dialogs.getSaveFileName(request);
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return QFileInfo(*chosen).absoluteFilePath();
}

} // namespace kntr::PlayListDialogs
