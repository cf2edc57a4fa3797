// Test helper that writes settings from a process of its own.
// Usage: settings_writer PATH               writes in a loop until killed
//        settings_writer PATH PREFIX COUNT  writes keys PREFIX0 ... PREFIX<COUNT-1> of
//                                           section Race, one write each, then ends

#include "platform/filesettingsstore.h"

#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc != 2 && argc != 4)
        return 2;
    kntr::FileSettingsStore store(QString::fromLocal8Bit(argv[1]));
    if (argc == 4) {
        const QString prefix = QString::fromLocal8Bit(argv[2]);
        const int count = std::atoi(argv[3]);
        for (int i = 0; i < count; ++i)
            store.SaveSetting("Kinetrova", "Race", prefix + QString::number(i), QString::number(i));
        return 0;
    }
    const QString big(4000, QLatin1Char('x'));
    for (long i = 0;; ++i) {
        store.SaveSetting("Kinetrova", "Loop", QStringLiteral("Key%1").arg(i % 50), big + QString::number(i));
        store.SaveSetting("Kinetrova", "Loop", "Counter", QString::number(i));
    }
}
