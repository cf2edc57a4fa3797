#pragma once

#include <QByteArray>
#include <QString>

namespace kntr {

/// The helper executable called name (kinetrova-music, kinetrova-decode): beside
/// the running executable in the build tree, or in its libexec folder when
/// installed. The path to look at when neither holds it.
QString helperProgram(const QString& name);

/// In a helper: writes bytes whole to standard output, the pipe to Kinetrova.
/// When nobody reads any more the helper has nothing left to do and exits at once.
void writeToParentOrExit(const QByteArray& bytes);

} // namespace kntr
