#include "asxplaylist.h"

#include "textfile.h"

#include <QFile>
#include <QFileInfo>

namespace kntr {

namespace {

constexpr char kCrLf[] = "\r\n";

} // namespace

QByteArray AsxPlayList::text(const QStringList& paths)
{
    // Appended in place: a long list would otherwise make five short-lived
    // arrays per entry.
    QByteArray out;
    out.reserve(32 + paths.size() * 48);
    out.append("<Asx Version = \"3.0\" > ").append(kCrLf);
    for (const QString& path : paths) {
        out.append("<Entry> ").append(kCrLf);
        out.append("<Ref href = \"").append(path.toUtf8()).append("\"/>").append(kCrLf);
        out.append("</Entry>").append(kCrLf);
    }
    out.append("</Asx>");
    return out;
}

QStringList AsxPlayList::paths(const QByteArray& text)
{
    // The marks searched for are ASCII, and no byte of a multi-byte UTF-8
    // character equals one of them, so the bytes can be searched as they are.
    QStringList found;
    qsizetype from = 0;
    while (from < text.size()) {
        const qsizetype ref = text.indexOf("Ref href", from);
        if (ref < 0)
            break;
        const qsizetype open = text.indexOf('"', ref);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf("\"/", open + 1);
        if (close < 0)
            break;
        found << QString::fromUtf8(text.mid(open + 1, close - open - 1));
        from = close + 1;
    }
    return found;
}

std::optional<QStringList> AsxPlayList::read(const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // One byte over the limit tells a file that is too large (or still growing).
    const std::optional<QByteArray> bytes = readUpTo(file, kMaxFileBytes);
    if (!bytes || bytes->size() > kMaxFileBytes)
        return std::nullopt;
    return paths(*bytes);
}

bool AsxPlayList::write(const QString& path, const QStringList& paths, QString* error)
{
    return writeTextFile(path, text(paths), error);
}

} // namespace kntr
