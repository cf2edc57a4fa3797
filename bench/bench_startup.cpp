// From the program's start to the main window shown: the whole desktop program
// put together with its sound devices, the settings of a first start, and the
// time until the window is first exposed. Runs under the display it is given
// (DISPLAY, or offscreen without one) and a private sound server. Target:
// under 300 ms.

#include "program.h"

#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"
#include "platform/qtdialogs.h"
#include "platform/systemclock.h"
#include "sounddevices.h"

#include "nullsinkserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QWindow>

#include <cstdio>

int main(int argc, char* argv[])
{
    // A sound server of its own, so the sound devices open as on a desktop (and
    // no "no mixer" box waits for a click).
    kntr::test::NullSinkServer server;
    QString why;
    if (!server.start(why)) {
        std::printf("bench_startup: skipped (%s)\n", qPrintable(why));
        return 0;
    }

    QElapsedTimer sinceStart;
    sinceStart.start();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath("config").toLocal8Bit());
    qputenv("XDG_DATA_HOME", home.filePath("data").toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    kntr::prepareSoundBackend();

    QApplication app(argc, argv);
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    // A later start, not a first one: no machine window over the main window.
    settings.SaveSetting(kntr::kAppName, QStringLiteral("user"), QStringLiteral("windowstate"),
                         QStringLiteral("0"));
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::SystemClock clock;
    kntr::QtMessageBoxes messages;
    kntr::QtFileDialogs dialogs;
    kntr::Program program(settings, paths, messages, dialogs, clock, QCoreApplication::applicationFilePath(),
                          true);
    program.startUp({QStringLiteral("kinetrova")});
    while (!program.window().windowHandle() || !program.window().windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (sinceStart.elapsed() > 10000) {
            std::printf("bench_startup: the window was not shown within 10 s\n");
            return 1;
        }
    }
    const double ms = sinceStart.nsecsElapsed() / 1e6;
    std::printf("start to main window shown (%s): %.0f ms\n", qPrintable(QGuiApplication::platformName()),
                ms);
    std::printf("report: start to main window shown (%s) | %.0f ms | < 300 ms\n",
                qPrintable(QGuiApplication::platformName()), ms);
    return 0;
}
