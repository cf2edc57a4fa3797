#include "helperprogram.h"

#include <QCoreApplication>
#include <QFileInfo>

#ifndef KNTR_LIBEXEC_FROM_BIN
#define KNTR_LIBEXEC_FROM_BIN "../libexec/kinetrova"
#endif

namespace kntr {

QString helperProgram(const QString& name)
{
    // Without an application object Qt cannot tell where the executable lies; the system can.
    const QString bin = QCoreApplication::instance()
        ? QCoreApplication::applicationDirPath()
        : QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(QLatin1Char('/'), 0, -2);
    const QString beside = bin + QLatin1Char('/') + name;
    if (QFileInfo(beside).isExecutable())
        return beside;
    return QFileInfo(bin + QStringLiteral("/" KNTR_LIBEXEC_FROM_BIN "/") + name).absoluteFilePath();
}

} // namespace kntr
