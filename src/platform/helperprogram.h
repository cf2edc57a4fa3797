#pragma once

#include <QString>

namespace kntr {

/// The helper executable called name (kinetrova-music, kinetrova-decode): beside
/// the running executable in the build tree, or in its libexec folder when
/// installed. The path to look at when neither holds it.
QString helperProgram(const QString& name);

} // namespace kntr
