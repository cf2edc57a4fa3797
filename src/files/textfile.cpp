#include "textfile.h"

#include "platform/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace kntr {

namespace {

QString tooLarge()
{
    return QStringLiteral("File too large (more than %1 MB)").arg(kMaxTextFileBytes / (1024 * 1024));
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
    std::optional<QByteArray> bytes = readUpTo(file, kMaxTextFileBytes);
    if (!bytes)
        return fail(file.errorString());
    if (bytes->size() > kMaxTextFileBytes)
        return fail(tooLarge());
    return bytes;
}

std::optional<QByteArray> readUpTo(QFileDevice& file, qint64 limit)
{
    constexpr qint64 kChunk = 64 * 1024;
    const qint64 wanted = limit + 1;
    // The size the file has now is a guess: it may still grow or shrink.
    const qint64 guess = std::clamp<qint64>(file.size() - file.pos() + 1, 1, wanted);
    QByteArray bytes = file.read(guess);
    // A read shorter than asked ended at the end of the file.
    while (file.error() == QFileDevice::NoError && bytes.size() < wanted && bytes.size() >= guess) {
        const QByteArray more = file.read(std::min(kChunk, wanted - bytes.size()));
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
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
