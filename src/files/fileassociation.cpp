#include "fileassociation.h"

#include "textfile.h"
#include "version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace kntr {

const char* const kUserFileMimeType = "application/x-kinetrova-user";

namespace {

/// Quotes a program path for the Exec key when it holds a character the
/// desktop entry format reserves, then escapes it as a string value.
QString execProgram(const QString& path)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString program = path;
    bool quote = false;
    for (QChar c : path)
        quote = quote || reserved.contains(c);
    if (quote) {
        QString inner;
        for (QChar c : path) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$')
                || c == QLatin1Char('\\'))
                inner += QLatin1Char('\\');
            inner += c;
        }
        program = QLatin1Char('"') + inner + QLatin1Char('"');
    }
    // String values escape the backslash once more.
    program.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return program;
}

/// Writes bytes to path unless the file already holds them; true when written.
bool refreshFile(const QString& path, const QByteArray& bytes)
{
    if (readWholeFile(path) == bytes)
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return writeTextFile(path, bytes);
}

void startDetached(const QString& program, const QStringList& arguments)
{
    QProcess::startDetached(program, arguments);
}

} // namespace

QByteArray userFileDesktopEntry(const QString& executable)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kinetrova\n"
           "GenericName=Interval Workout Designer\n"
           "Comment=Design and run interval workouts on a tone-controlled exercise machine\n"
           "Exec="
        + execProgram(executable).toUtf8()
        + " %f\n"
          "Icon="
        + QByteArray(kAppId)
        + "\n"
          "Terminal=false\n"
          "Categories=Utility;\n"
          "Keywords=workout;interval;treadmill;elliptical;exercise;\n"
          "MimeType="
        + QByteArray(kUserFileMimeType) + ";\n";
}

QByteArray userFileMimeInfo()
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\""
        + QByteArray(kUserFileMimeType)
        + "\">\n"
          "    <comment>Kinetrova User File</comment>\n"
          "    <glob pattern=\"*.ktr\"/>\n"
          "  </mime-type>\n"
          "</mime-info>\n";
}

bool runsFromInstalledPackage(const QString& executable)
{
    const QString prefix = QFileInfo(executable).absolutePath() + QStringLiteral("/..");
    return QFileInfo::exists(prefix + QStringLiteral("/share/applications/") + QLatin1String(kAppId)
                             + QStringLiteral(".desktop"));
}

void RegisterUserFileType(const QString& executable, QString dataHome, const ToolRunner& runner)
{
    if (runsFromInstalledPackage(executable))
        return;
    if (dataHome.isEmpty())
        dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty() || !QDir::isAbsolutePath(dataHome))
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    const ToolRunner run = runner ? runner : ToolRunner(startDetached);

    const QString applications = dataHome + QStringLiteral("/applications");
    const QString mime = dataHome + QStringLiteral("/mime");
    if (refreshFile(applications + QStringLiteral("/kinetrova.desktop"), userFileDesktopEntry(executable))) {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
        if (!tool.isEmpty())
            run(tool, {applications});
    }
    if (refreshFile(mime + QStringLiteral("/packages/kinetrova.xml"), userFileMimeInfo())) {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (!tool.isEmpty())
            run(tool, {mime});
    }
}

} // namespace kntr
