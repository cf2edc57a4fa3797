// kinetrova-cli totals on a 60-segment workout, as a script would call it: the
// whole process, median of 20 runs.

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main()
{
    QTemporaryDir dir;
    QByteArray text = "Vexa v 1.2                \r\n\r\n[segment settings]\r\n";
    for (int i = 1; i <= 60; ++i)
        text += QByteArray::number(i) + "\t" + QByteArray::number(3 + i % 5) + "\t"
            + QByteArray::number(1 + i % 7) + "\t60\r\n";
    text += "\r\n[playlist]\r\n\r\n\r\n\r\n";
    const QString workout = dir.filePath("sixty.txt");
    QFile f(workout);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return 1;
    f.close();

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", dir.filePath("config"));
    env.insert("XDG_DATA_HOME", dir.filePath("data"));
    std::vector<double> times;
    for (int i = 0; i < 20; ++i) {
        QProcess cli;
        cli.setProcessEnvironment(env);
        QElapsedTimer timer;
        timer.start();
        cli.start(QStringLiteral(KINETROVA_CLI), {"totals", workout});
        if (!cli.waitForFinished(10000) || cli.exitCode() != 0) {
            std::printf("bench_cli: totals failed: %s\n", cli.readAllStandardError().constData());
            return 1;
        }
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("kinetrova-cli totals of 60 segments: median %.1f ms, fastest %.1f ms\n",
                times[times.size() / 2], times.front());
    std::printf("report: kinetrova-cli totals, 60 segments | %.1f ms | -\n", times[times.size() / 2]);
    return 0;
}
