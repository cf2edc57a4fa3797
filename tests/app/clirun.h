#pragma once

#include "clicommand.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace kntr::test {

/// What one kinetrova-cli call printed and returned.
struct CliRun {
    int status;
    QString out;
    QString err;
};

/// Runs kinetrova-cli with the arguments after the program name, capturing its output.
inline CliRun runCliCaptured(const QStringList& args, SettingsStore& settings, const AppPaths& paths)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    CliContext context{o, e, settings, paths};
    const int status = runCli(args, context);
    o.flush();
    e.flush();
    return {status, out, err};
}

} // namespace kntr::test
