#include "helperprogram.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <unistd.h>

#include <cerrno>

#ifndef KNTR_LIBEXEC_FROM_BIN
#define KNTR_LIBEXEC_FROM_BIN "../libexec/kinetrova"
#endif

namespace kntr {

void writeToParentOrExit(const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::write(STDOUT_FILENO, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ::_exit(1);
        done += n;
    }
}

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
