// kntrRegDel: run by the installer after a new release is installed, to offer
// deleting the settings that Kinetrova and its earlier release left behind.

#include "cleanup/ui/regdelwindow.h"
#include "cleanup/settingscleanup.h"
#include "platform/filesettingsstore.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

bool set(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value;
}

/// Whether the window system Qt will use can be reached. Without one Qt aborts,
/// as happens when an installer script runs the tool in a terminal.
bool desktopSession()
{
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    const QByteArray platform = chosen ? QByteArray(chosen) : QByteArray();
    if (platform.startsWith("xcb"))
        return set("DISPLAY");
    if (platform.startsWith("wayland"))
        return set("WAYLAND_DISPLAY");
    if (!platform.isEmpty())
        return true; // offscreen, vnc, ...: no display needed
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    kntr::FileSettingsStore settings(kntr::FileSettingsStore::defaultPath());
    kntr::SettingsCleanup cleanup(settings);
    // Looked at before the window system is touched: where Kinetrova never ran
    // the tool ends at once and quietly, with or without a display.
    if (!cleanup.kinetrovaHasRun())
        return 0;

    if (!desktopSession()) {
        std::fputs("kntrRegDel needs a desktop session; nothing was deleted.\n", stderr);
        return 0;
    }
    QApplication app(argc, argv);
    kntr::RegDelWindow window(cleanup);
    window.exec();
    return 0;
}
