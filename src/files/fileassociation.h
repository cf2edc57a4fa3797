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
/// The package installs the one for "kinetrova" (see kntr_desktopfiles).
QByteArray userFileDesktopEntry(const QString& executable);
/// The shared-mime-info description of "*.ktr".
QByteArray userFileMimeInfo();

/// True when executable runs from an installed package rather than a build
/// tree: the prefix its bin folder is in holds share/applications/<kAppId>.desktop
/// (kAppId from version.h). The package registers the file type for every user then.
bool runsFromInstalledPackage(const QString& executable);

/// Registers ".ktr" user files with the desktop, on every start of a program
/// that does not run from an installed package: writes the
/// desktop entry applications/kinetrova.desktop and the MIME type
/// mime/packages/kinetrova.xml below dataHome ($XDG_DATA_HOME, or
/// ~/.local/share when empty), and when a file changed runs
/// update-desktop-database and update-mime-database, where installed, through
/// runner (default: started detached). Failures are ignored.
void RegisterUserFileType(const QString& executable, QString dataHome = {}, const ToolRunner& runner = {});

} // namespace kntr
