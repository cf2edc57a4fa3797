#include "regularfile.h"

#include <QFileInfo>

namespace kntr {

QString notARegularFile(const QFileInfo& info)
{
    if (!info.exists())
        return {};
    if (info.isDir())
        return QStringLiteral("Is a folder, not a file");
    if (!info.isFile())
        return QStringLiteral("Not a regular file");
    return {};
}

} // namespace kntr
