#include "program.h"
#include "platform/apppaths.h"
#include "sounddevices.h"
#include "platform/filesettingsstore.h"
#include "platform/qtdialogs.h"
#include "sliderfocus.h"
#include "platform/systemclock.h"
#include "version.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    kntr::prepareSoundBackend();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kntr::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(kntr::kVersion));
    // The installed package's icon, from the icon theme; none in a build tree.
    QApplication::setDesktopFileName(QString::fromLatin1(kntr::kAppId));
    QApplication::setWindowIcon(QIcon::fromTheme(QString::fromLatin1(kntr::kAppId)));
    kntr::markSliderFocus(app);

    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    const kntr::AppPaths paths = kntr::AppPaths::fromEnvironment();
    kntr::SystemClock clock;
    kntr::QtMessageBoxes messages;
    kntr::QtFileDialogs dialogs;

    kntr::Program program(settings, paths, messages, dialogs, clock, QCoreApplication::applicationFilePath(),
                          true);
    messages.setParent(&program.window());
    dialogs.setParent(&program.window());
    program.startUp(QApplication::arguments());
    return app.exec();
}
