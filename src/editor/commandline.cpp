#include "commandline.h"

namespace kntr {

QString userFileArgument(const QStringList& arguments)
{
    if (arguments.size() < 2)
        return {};
    QString path = arguments.mid(1).join(QLatin1Char(' '));
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

} // namespace kntr
