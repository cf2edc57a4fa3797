#include "qtdialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace kntr {

MessageBoxes::Answer QtMessageBoxes::show(const QString& text, Icon icon, Buttons buttons,
                                          const QString& title)
{
    QMessageBox box(mParent);
    box.setWindowTitle(title);
    // Texts use CR as the line break; show them as the lines they are.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    QMessageBox::StandardButtons standard;
    QMessageBox::StandardButton escape = QMessageBox::NoButton;
    switch (buttons) {
    case Buttons::Ok:
        standard = QMessageBox::Ok;
        escape = QMessageBox::Ok;
        break;
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        escape = QMessageBox::No;
        break;
    case Buttons::YesNoCancel:
        standard = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    case Buttons::RetryCancel:
        standard = QMessageBox::Retry | QMessageBox::Cancel;
        escape = QMessageBox::Cancel;
        break;
    }
    box.setStandardButtons(standard);
    box.setEscapeButton(escape);

    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return escape == QMessageBox::Ok ? Answer::Ok
            : escape == QMessageBox::No  ? Answer::No
                                         : Answer::Cancel;
    }
}

namespace {

QString startPath(const FileDialogRequest& request)
{
    if (request.folder.isEmpty())
        return request.fileName;
    if (request.fileName.isEmpty())
        return request.folder;
    return QDir(request.folder).filePath(request.fileName);
}

std::optional<QString> chosen(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

std::optional<QString> QtFileDialogs::getOpenFileName(const FileDialogRequest& request)
{
    return chosen(QFileDialog::getOpenFileName(mParent, request.title, startPath(request), request.filter));
}

std::optional<QStringList> QtFileDialogs::getOpenFileNames(const FileDialogRequest& request)
{
    const QStringList paths =
        QFileDialog::getOpenFileNames(mParent, request.title, startPath(request), request.filter);
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

std::optional<QString> QtFileDialogs::getSaveFileName(const FileDialogRequest& request)
{
    if (request.defaultSuffix.isEmpty())
        return chosen(
            QFileDialog::getSaveFileName(mParent, request.title, startPath(request), request.filter));
    // The dialog adds the suffix before it asks about replacing an existing file.
    QFileDialog dialog(mParent, request.title, QString(), request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.folder.isEmpty())
        dialog.setDirectory(request.folder);
    dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return chosen(dialog.selectedFiles().constFirst());
}

} // namespace kntr
