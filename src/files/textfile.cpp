#include "textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kntr {

namespace {

/// Why something that exists at path is no file to read or replace; empty for a
/// regular file (or a link to one).
QString notARegularFile(const QFileInfo& info)
{
    if (info.isDir())
        return QStringLiteral("Is a folder, not a file");
    if (!info.isFile())
        return QStringLiteral("Not a regular file");
    return {};
}

QString tooLarge()
{
    return QStringLiteral("File too large (more than %1 MB)")
        .arg(kMaxTextFileBytes / (1024 * 1024));
}

} // namespace

std::optional<QByteArray> readWholeFile(const QString& path, QString* error)
{
    const auto fail = [error](const QString& reason) -> std::optional<QByteArray> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("No file name given"));
    // Looked at before opening: opening a pipe waits for a writer, and a device
    // such as /dev/zero never ends.
    const QFileInfo info(path);
    if (info.exists()) {
        if (const QString reason = notARegularFile(info); !reason.isEmpty())
            return fail(reason);
        if (info.size() > kMaxTextFileBytes)
            return fail(tooLarge());
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    // A file that grew since it was looked at is still read no further than the cap.
    QByteArray bytes = file.read(kMaxTextFileBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    if (bytes.size() > kMaxTextFileBytes)
        return fail(tooLarge());
    return bytes;
}

bool writeTextFile(const QString& path, const QByteArray& bytes, QString* error)
{
    // The write ends in a rename over path, which would put a file in the place
    // of a device or pipe (or fail late for a folder): only files are replaced.
    const QFileInfo info(path);
    if (info.exists()) {
        if (const QString reason = notARegularFile(info); !reason.isEmpty()) {
            if (error)
                *error = reason;
            return false;
        }
    }
    // Unbuffered, for a short write (disk full, file size limit) to be seen:
    // commit() misses one that happens while it flushes a buffer, and would put
    // the cut-short file in the place of the old one.
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
                    && file.write(bytes) == bytes.size() && file.commit();
    if (!ok) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
    }
    return ok;
}

} // namespace kntr
