// kinetrova-music: plays the music of a live run (a play list or an audio CD)
// for Kinetrova, which drives it through stdin and stdout (see
// platform/musicprotocol.h). A file that crashes a decoder ends this process,
// never a run.

#include "musicserver.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLoggingCategory>

#include <sys/prctl.h>

#include <csignal>

int main(int argc, char* argv[])
{
    // Music that outlives the program would play on with nobody to stop it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    // The ffmpeg backend starts, pauses and seeks promptly; it is chosen before Qt loads one.
    qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kinetrova-music"));
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays Kinetrova's music; driven through stdin."));
    const QCommandLineOption cdDevice(
        QStringLiteral("cd-device"),
        QStringLiteral("The CD drive or disc image (default: the system's drive)."), QStringLiteral("path"));
    parser.addOption(cdDevice);
    parser.addHelpOption();
    parser.process(app);

    kntr::MusicServer server(parser.value(cdDevice));
    return app.exec();
}
