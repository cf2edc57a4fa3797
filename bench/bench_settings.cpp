// How fast the settings file answers: reads served from memory, reads after another
// program changed the file, and writes (each one locked, written whole and synced).
// Usage: bench_settings [FOLDER]   (a temporary folder by default; the figures
// depend on the file system, writes mostly on how fast it syncs)

#include "platform/filesettingsstore.h"

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

void report(const char* what, int count, qint64 nsecs)
{
    std::printf("%-34s %10.0f per second (%6.2f us each, %d calls)\n", what,
                count * 1e9 / static_cast<double>(nsecs), nsecs / 1000.0 / count, count);
    std::printf("report: settings, %s | %.0f per second | -\n", what,
                count * 1e9 / static_cast<double>(nsecs));
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir temp;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temp.path();
    const QString path = folder + QStringLiteral("/kinetrova/settings.json");
    QFile::remove(path);
    kntr::FileSettingsStore store(path);

    // About the size of a real file: the keys of the settings table.
    const QStringList sections = {"File",  "user",       "options",    "Machine", "audio",
                                  "Audio", "RecordPref", "RandomWork", "MRUList"};
    QStringList keys;
    for (int i = 0; i < 70; ++i) {
        const QString section = sections[i % sections.size()];
        const QString key = QStringLiteral("Key%1").arg(i);
        store.SaveSetting("Kinetrova", section, key, QStringLiteral("/home/user/workouts/%1").arg(i));
        keys << section + '/' + key;
    }
    std::printf("settings file of %lld bytes in %s\n", static_cast<long long>(QFile(path).size()),
                qPrintable(folder));

    auto read = [&](int i) {
        const QStringList parts = keys[i % keys.size()].split('/');
        return store.GetSetting("Kinetrova", parts[0], parts[1], "none");
    };

    constexpr int kCachedReads = 200000;
    QElapsedTimer timer;
    timer.start();
    qint64 found = 0;
    for (int i = 0; i < kCachedReads; ++i)
        found += read(i).size();
    report("reads, file unchanged", kCachedReads, timer.nsecsElapsed());

    // Another program's change, made cheaply: a new modification time.
    constexpr int kChangedReads = 5000;
    const QByteArray encoded = QFile::encodeName(path);
    qint64 nsecs = 0;
    for (int i = 0; i < kChangedReads; ++i) {
        const timespec times[2] = {{1000000000 + i, 0}, {1000000000 + i, 0}};
        ::utimensat(AT_FDCWD, encoded.constData(), times, 0);
        timer.restart();
        found += read(i).size();
        nsecs += timer.nsecsElapsed();
    }
    report("reads after another program wrote", kChangedReads, nsecs);

    constexpr int kWrites = 1000;
    timer.restart();
    for (int i = 0; i < kWrites; ++i)
        store.SaveSetting("Kinetrova", "user", "weight", QString::number(100 + i % 2));
    report("writes", kWrites, timer.nsecsElapsed());

    timer.restart();
    for (int i = 0; i < kWrites; ++i)
        store.SaveSetting("Kinetrova", "user", "weight", "100");
    report("writes of the value already stored", kWrites, timer.nsecsElapsed());

    return found > 0 ? 0 : 1;
}
