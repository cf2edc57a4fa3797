// kntrRegDel: run by the installer after a new release is installed, to offer
// deleting the settings that Kinetrova and its earlier release left behind.

#include "cleanup/ui/regdelwindow.h"
#include "cleanup/settingscleanup.h"
#include "platform/filesettingsstore.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    kntr::SettingsCleanup cleanup(settings);
    // Looked at before the window system is touched: where Kinetrova never ran
    // the tool ends at once and quietly, with or without a display.
    if (!cleanup.kinetrovaHasRun())
        return 0;

    QApplication app(argc, argv);
    kntr::RegDelWindow window(cleanup);
    window.exec();
    return 0;
}
