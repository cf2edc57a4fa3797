#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace kntr {

/// One admitted music file of the builder's list, measured by its check.
///
/// A WAV entry records where its "data" tag stands and how many whole seconds of
/// 16-bit 44.1 kHz stereo it holds; an MP3 entry records its first frame, its
/// frame count and the frame headers every frame of it carries.
struct MusicEntry {
    QString path;
    /// The file the user chose, when path is a converted copy of it (see
    /// MusicConversion); empty otherwise. Lists show and save this name.
    QString source;
    /// WAV: bytes of sample data: the data chunk's size, or what the file holds
    /// after the chunk's header when that is less. MP3: 0.
    qint64 dataBytes = 0;
    /// WAV: 176,400 bytes per second. MP3: 44,100 samples per second.
    std::int32_t rate = 0;
    /// MP3: frames found by the frame walk. WAV: not set.
    std::int32_t frameCount = 0;
    /// WAV: whole seconds of sample data. MP3: frames × 0.026.
    float seconds = 0.0f;
    /// 1-based position of the "data" tag (WAV) or of the first frame (MP3).
    qint64 dataPosition = 0;
    /// MP3 only: kbit/s from the bit-rate table.
    std::int32_t bitRate = 0;
    /// MP3 only: the first three bytes of an unpadded and of a padded frame.
    QByteArray frameHeader;
    QByteArray paddedFrameHeader;
    /// MP3 only: bytes of an unpadded and of a padded frame.
    std::int16_t frameSize = 0;
    std::int16_t paddedFrameSize = 0;

    /// The name the user knows the entry by: the chosen file, not a copy of it.
    const QString& shownPath() const { return source.isEmpty() ? path : source; }

    /// WAV: 0-based offset of the first sample byte, 8 bytes after the "data" tag.
    qint64 firstSampleOffset() const { return dataPosition + 7; }
};

} // namespace kntr
