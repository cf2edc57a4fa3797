// Writes the desktop entry and the MIME type the package installs, from the same
// code that registers them in a build tree's user's home folder:
//   kntr_desktopfiles DESKTOP_ENTRY MIME_XML

#include "files/fileassociation.h"

#include <QFile>

#include <cstdio>

namespace {

bool writeFile(const char* path, const QByteArray& bytes)
{
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size()
        && file.flush())
        return true;
    std::fprintf(stderr, "kntr_desktopfiles: cannot write %s\n", path);
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "Usage: kntr_desktopfiles DESKTOP_ENTRY MIME_XML\n");
        return 2;
    }
    const bool written = writeFile(argv[1], kntr::userFileDesktopEntry(QStringLiteral("kinetrova")))
        && writeFile(argv[2], kntr::userFileMimeInfo());
    return written ? 0 : 1;
}
