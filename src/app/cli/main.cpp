#include "clicommand.h"
#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    // The ffmpeg media backend starts and stops sound promptly; pick it before Qt loads one.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    // Printing lays out text, which takes a GUI application; the offscreen platform
    // needs no display, and no command ever opens a window.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kinetrova-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::CliContext context{out, err, settings, paths};
    return kntr::runCli(app.arguments().mid(1), context);
}
