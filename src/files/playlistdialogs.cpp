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
                                        const QString& currentPath, const QString& firstEntry)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Save As");
    request.filter = kFilter;
    request.defaultSuffix = QStringLiteral("asx");
    if (currentPath.isEmpty()) {
        request.folder = existingFolder(settings, QStringLiteral("ASXDirectory"));
        if (request.folder.isEmpty() && !firstEntry.isEmpty())
            request.folder = existingFolder(QFileInfo(firstEntry).absolutePath());
        if (request.folder.isEmpty())
            request.folder = QDir::homePath();
        request.fileName = kNewListName;
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

QString saveFailedMessage(const QString& path, const QString& cause)
{
    QString reason = cause.isEmpty() ? QStringLiteral("the file could not be written") : cause;
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return QStringLiteral("Could not save the play list %1: %2.\r\rChoose another folder with "
                          "Save As, or check that the folder exists and may be written to.")
        .arg(QDir::toNativeSeparators(path), reason);
}

} // namespace kntr::PlayListDialogs
