#pragma once

// A BIN/CUE image of a two-track audio disc for the CD device tests.

#include <QDir>
#include <QFile>
#include <QtEndian>

namespace kntr::test {

/// A disc of two audio tracks (6 s and 4 s) as a BIN/CUE image. Every sample
/// frame can be told from the others: the left channel counts the frames from
/// the disc's start, the right channel tells the tracks apart.
struct CdImage {
    static constexpr int kSectorFrames = 588; ///< stereo sample frames a sector
    static constexpr int kTrack1Sectors = 450;
    static constexpr int kTrack2Sectors = 300;
    static constexpr int kSectors = kTrack1Sectors + kTrack2Sectors;
    static constexpr int kFirstAddress = 150; ///< 00:02:00, where track 1 starts

    QString cuePath;
    QString binPath;

    static qint16 left(qint64 frame) { return static_cast<qint16>(frame % 30000 + 1); }
    static qint16 right(qint64 frame) { return frame < kTrack1Sectors * kSectorFrames ? 3000 : -3000; }
    /// The sample frame a disc address starts with.
    static qint64 frameAt(int address) { return qint64(address - kFirstAddress) * kSectorFrames; }

    /// Writes disc.cue and disc.bin into the folder.
    bool write(const QDir& dir)
    {
        binPath = dir.filePath("disc.bin");
        cuePath = dir.filePath("disc.cue");
        QByteArray bin(kSectors * kSectorFrames * 4, '\0');
        for (qint64 i = 0; i < qint64(kSectors) * kSectorFrames; ++i) {
            qToLittleEndian<qint16>(left(i), bin.data() + 4 * i);
            qToLittleEndian<qint16>(right(i), bin.data() + 4 * i + 2);
        }
        QFile b(binPath), c(cuePath);
        return b.open(QIODevice::WriteOnly) && b.write(bin) == bin.size() && c.open(QIODevice::WriteOnly)
            && c.write("FILE \"disc.bin\" BINARY\n"
                       "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                       "  TRACK 02 AUDIO\n    INDEX 01 00:06:00\n")
            > 0;
    }
};

} // namespace kntr::test
