// Test helper: writes settings in a loop until killed.
// Usage: settings_writer PATH

#include "platform/filesettingsstore.h"

int main(int argc, char* argv[])
{
    if (argc != 2)
        return 2;
    kntr::FileSettingsStore store(QString::fromLocal8Bit(argv[1]));
    const QString big(4000, QLatin1Char('x'));
    for (long i = 0;; ++i) {
        store.SaveSetting("Kinetrova", "Loop", QStringLiteral("Key%1").arg(i % 50),
                          big + QString::number(i));
        store.SaveSetting("Kinetrova", "Loop", "Counter", QString::number(i));
    }
}
