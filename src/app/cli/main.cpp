#include "clicommand.h"
#include "platform/apppaths.h"
#include "sounddevices.h"
#include "platform/filesettingsstore.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    kntr::prepareSoundBackend();

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kinetrova-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::CliContext context{out, err, settings, paths};
    return kntr::runCli(app.arguments().mid(1), context);
}
