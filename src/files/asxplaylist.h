#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace kntr {

/// The ASX play-list text that both music lists save and load.
///
/// Written: a version line, one three-line entry per path and "</Asx>", lines
/// ending in CR LF, paths written as they stand. Read: only the text after each
/// "Ref href" counts; the path runs from the next quotation mark to the next
/// quotation mark that is followed by "/". Other elements, attributes and
/// comments are passed over, wherever the entries stand.
class AsxPlayList {
public:
    /// Play lists larger than this are not read.
    static constexpr qint64 kMaxFileBytes = 8 * 1024 * 1024;

    /// The ASX text of the paths, byte for byte.
    static QByteArray text(const QStringList& paths);
    /// The paths the text refers to, in order.
    static QStringList paths(const QByteArray& text);

    /// Reads the paths of the play list at path. Nothing when it is not a regular
    /// file, is larger than kMaxFileBytes or cannot be read.
    static std::optional<QStringList> read(const QString& path);
    /// Replaces the file at path with the ASX text of the paths in one step: an
    /// interrupted write leaves the previous file whole. False with the reason in error.
    static bool write(const QString& path, const QStringList& paths, QString* error = nullptr);
};

} // namespace kntr
