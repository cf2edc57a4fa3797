#include "platform/apppaths.h"
#include "platform/filesettingsstore.h"
#include "version.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[])
{
    // The ffmpeg media backend starts and stops sound promptly; pick it before Qt loads one.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND"))
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(kntr::kProgramName));
    QApplication::setApplicationVersion(QString::fromLatin1(kntr::kVersion));

    QMainWindow window;
    window.setObjectName(QStringLiteral("frmMain"));
    window.setWindowTitle(QStringLiteral("Kinetrova"));
    window.resize(587, 387); // 8800 x 5800 twips at 96 dpi
    window.show();
    return app.exec();
}
