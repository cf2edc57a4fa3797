#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

#include <optional>

namespace kntr {

/// The most a workout or user file may hold. Both are a few kilobytes of text;
/// anything larger is not one of them and is refused before it is read.
inline constexpr qint64 kMaxTextFileBytes = 1024 * 1024;

/// Reads a whole regular file of at most kMaxTextFileBytes; nothing and the
/// reason in error when it cannot be read. Folders, devices and pipes are
/// refused before they are opened, so that nothing waits or fills memory.
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);

/// Reads what is left of an open file, but no more than limit + 1 bytes: a
/// result longer than limit tells a file over the limit (or one still growing).
/// The buffer grows with what is read, so a small file costs a small buffer.
/// Nothing when the read fails.
std::optional<QByteArray> readUpTo(QFileDevice& file, qint64 limit);

/// Replaces the file at path with bytes in one step: the bytes go to a temporary
/// file beside it that is renamed over the old one, so an interrupted write
/// leaves the previous file whole. Only a regular file is replaced: a folder,
/// device or pipe at path is left alone. Returns false with the reason in error.
bool writeTextFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace kntr
