#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace kntr {

/// Starts a helper program and does not wait for it; failures are ignored.
using ToolRunner = std::function<void(const QString& program, const QStringList& arguments)>;

/// The MIME type of Kinetrova user files (*.ktr).
extern const char* const kUserFileMimeType;

/// The desktop entry that starts executable with a file: "Exec=<executable> %f".
QByteArray userFileDesktopEntry(const QString& executable);
/// The shared-mime-info description of "*.ktr".
QByteArray userFileMimeInfo();

/// Registers ".ktr" user files with the desktop, on every start: writes the
/// desktop entry applications/kinetrova.desktop and the MIME type
/// mime/packages/kinetrova.xml below dataHome ($XDG_DATA_HOME, or
/// ~/.local/share when empty), and when a file changed runs
/// update-desktop-database and update-mime-database, where installed, through
/// runner (default: started detached). Failures are ignored.
void RegisterUserFileType(const QString& executable, QString dataHome = {},
                          const ToolRunner& runner = {});

} // namespace kntr
