#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kntr {

/// What an open or save dialog shows.
struct FileDialogRequest {
    QString title;
    QString filter; ///< Qt filter text, e.g. "Workout files (*.txt);;All files (*)"
    QString folder; ///< initial folder; empty for the dialog's own choice
    QString fileName; ///< initial file name
    QString defaultSuffix; ///< added to a typed save name without one, e.g. "txt"
};

/// The common open and save dialogs; the program shows them, tests script the answers.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;

    /// Returns the chosen existing file, or nothing when the user cancelled.
    virtual std::optional<QString> getOpenFileName(const FileDialogRequest& request) = 0;
    /// Returns the existing files chosen together (at least one), or nothing when
    /// the user cancelled.
    virtual std::optional<QStringList> getOpenFileNames(const FileDialogRequest& request) = 0;
    /// Returns the chosen file to write, or nothing when the user cancelled.
    /// The dialog has already asked before an existing file is replaced.
    virtual std::optional<QString> getSaveFileName(const FileDialogRequest& request) = 0;
};

} // namespace kntr
