#include "clicommand.h"
#include "platform/apppaths.h"
#include "sounddevices.h"
#include "platform/filesettingsstore.h"

#include <QGuiApplication>

#include <cstdio>
#include <unistd.h>
#include <memory>

int main(int argc, char* argv[])
{
    kntr::prepareSoundBackend();

    // Printing lays out text, which takes a GUI application, on the offscreen platform
    // that needs no display. The other commands stay plain console programs.
    std::unique_ptr<QCoreApplication> app;
    if (argc > 1 && qstrcmp(argv[1], "print") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kinetrova-cli"));

    QTextStream out(stdout);
    QTextStream err(stderr);
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::CliContext context{out, err, settings, paths};
    const int status = kntr::runCli(QCoreApplication::arguments().mid(1), context);
    if (argc > 1 && qstrcmp(argv[1], "run") == 0) {
        // The run has released its sound devices in order. What is left is the
        // sound library's own teardown at exit, which can race its server
        // thread and crash after the stop command was heard: a run ends here,
        // with exactly its status, once everything written has gone out.
        out.flush();
        err.flush();
        std::fflush(nullptr);
        ::_exit(status);
    }
    return status;
}
