#pragma once

#include "mp3layout.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace kntr {

/// Keeps the encoded tones and spoken cues of earlier builds in a folder, so
/// that building a workout again encodes nothing.
///
/// An entry is found by a hash (BLAKE2b) of its samples, the bit rate and the encoder's
/// version, so a changed tone, clip or encoder never finds an old entry. Each
/// entry holds its length and a checksum of its frames: one that was cut short
/// or damaged is not used but encoded again and replaced. Entries are written
/// beside their place and renamed into it, so a reader never sees half of one.
/// When the folder grows past its limit, the entries used longest ago go.
///
/// One cache may serve encodings running at the same time.
class Mp3PieceCache {
public:
    /// The folder may not exist yet; it is made with the first entry.
    explicit Mp3PieceCache(QString folder, qint64 limitBytes = kLimitBytes);

    /// encoder with this cache in front of it: what it finds is not encoded
    /// again, and what is encoded without an error is held for keepNew(). The
    /// cache must outlive the encoder returned.
    Mp3Layout::Encoder in(Mp3Layout::Encoder encoder) const;

    /// Writes the entries encoded since the last call, then trims the folder:
    /// done once the workout file is in place, so that its writing does not
    /// wait for them.
    void keepNew();

    /// Removes the entries used longest ago while the folder holds more than its limit.
    void trim() const;

    static constexpr qint64 kLimitBytes = 32 * 1024 * 1024;

private:
    /// The file of the entry for pcm at the bit rate.
    QString pathOf(const QByteArray& pcm, int bitRate) const;
    /// The encoded frames kept in the entry at path, or nothing.
    std::optional<QByteArray> find(const QString& path) const;
    /// Keeps frames in the entry at path; false when they could not be written.
    bool keep(const QString& path, const QByteArray& frames) const;

    QString mFolder;
    qint64 mLimitBytes;
    mutable std::mutex mNewMutex;
    mutable std::vector<std::pair<QString, QByteArray>> mNew; // entries to write: path, frames
};

} // namespace kntr
