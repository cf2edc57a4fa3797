#include "program.h"
#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"
#include "platform/qtdialogs.h"
#include "platform/systemclock.h"
#include "version.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The ffmpeg media backend starts and stops sound promptly; pick it before Qt loads one.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kntr::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(kntr::kVersion));

    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::SystemClock clock;
    kntr::QtMessageBoxes messages;
    kntr::QtFileDialogs dialogs;

    kntr::Program program(settings, paths, messages, dialogs, clock,
                          QCoreApplication::applicationFilePath(), true);
    messages.setParent(&program.window());
    dialogs.setParent(&program.window());
    program.startUp(QApplication::arguments());
    return app.exec();
}
