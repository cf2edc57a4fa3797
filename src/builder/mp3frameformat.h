#pragma once

#include <QByteArray>

namespace kntr {

/// The frame shape every frame of a constant-bit-rate MPEG-1 Layer III file at
/// 44,100 Hz shares: the first three header bytes of an unpadded and a padded
/// frame, and the two frame lengths.
struct Mp3FrameFormat {
    int bitRate = 128; ///< kbit/s
    QByteArray header; ///< unpadded: two sync bytes + 0xP0
    QByteArray paddedHeader; ///< padded: two sync bytes + 0xP2
    int frameSize = 417;
    int paddedFrameSize = 418;

    /// The format named by a frame's first three bytes, from the bit-rate table
    /// keyed by the third byte: 0x50/0x52 64 kbit/s (208 bytes), 0x60/0x62 80 (261),
    /// 0x70/0x72 96 (313), 0x80/0x82 112 (365), 0x90/0x92 128 (417), 0xA0/0xA2 160
    /// (522), 0xB0/0xB2 192 (626). Any other third byte is taken for 128 kbit/s.
    static Mp3FrameFormat fromHeader(char first, char second, char third);
};

} // namespace kntr
