#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kntr {

/// Reads a whole file; nothing and the reason in error when it cannot be read.
std::optional<QByteArray> readWholeFile(const QString& path, QString* error = nullptr);

/// Replaces the file at path with bytes in one step: the bytes go to a temporary
/// file beside it that is renamed over the old one, so an interrupted write
/// leaves the previous file whole. Returns false with the reason in error.
bool writeTextFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

} // namespace kntr
