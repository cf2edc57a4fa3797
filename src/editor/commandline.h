#pragma once

#include <QString>
#include <QStringList>

namespace kntr {

/// The user file named on the command line, or empty when there is none.
///
/// The file association passes the path in double quotes; a path typed
/// without quotes may arrive split at its blanks, so the words are joined.
QString userFileArgument(const QStringList& arguments);

} // namespace kntr
