#include "mp3splice.h"

#include <algorithm>
#include <cstring>

namespace kntr {

namespace {

constexpr qsizetype kHeaderBytes = 4;
constexpr qsizetype kCrcBytes = 2;
// main_data_begin reaches back at most 511 bytes (9 bits): more is never needed.
constexpr qint64 kLongestReach = 511;

// MPEG-1 joint stereo (mode extension: mid/side), not copyrighted, not original, no emphasis.
constexpr char kSilentFourthByte = 0x60;

// MPEG-1 stereo side information: main_data_begin 0, private bits and scfsi 0; each of
// the four granule channels part2_3_length 0, big_values 0, global_gain 0, long blocks,
// count1table_select 1. No main data is read, and every spectral value is zero.
constexpr char kSilentSideInfo[] = "0000000000000000000200000000000000400000000000000800000000000001";
constexpr qsizetype kSilentHeadBytes = kHeaderBytes + 32; // header and side information

unsigned char byteAt(QByteArrayView bytes, qsizetype i)
{
    return static_cast<unsigned char>(bytes[i]);
}

bool isMpeg1(QByteArrayView frame)
{
    return (byteAt(frame, 1) & 0x18) == 0x18;
}

} // namespace

std::optional<Mp3Splice::SideInfo> Mp3Splice::sideInfo(QByteArrayView frame)
{
    if (frame.size() < kHeaderBytes || byteAt(frame, 0) != 0xFF || (byteAt(frame, 1) & 0xE0) != 0xE0)
        return std::nullopt;
    const int version = (byteAt(frame, 1) >> 3) & 0x03; // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const int layer = (byteAt(frame, 1) >> 1) & 0x03; // 1 Layer III
    if (version == 1 || layer != 1)
        return std::nullopt;
    const bool mono = (byteAt(frame, 3) >> 6) == 3;
    const bool crc = (byteAt(frame, 1) & 0x01) == 0;

    SideInfo side;
    side.offset = kHeaderBytes + (crc ? kCrcBytes : 0);
    side.size = version == 3 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    if (frame.size() < side.offset + side.size)
        return std::nullopt;
    const unsigned char first = byteAt(frame, side.offset);
    side.mainDataBegin = version == 3 ? (first << 1) | (byteAt(frame, side.offset + 1) >> 7) : first;
    side.mainDataBytes = frame.size() - side.offset - side.size;
    return side;
}

bool Mp3Splice::isInfoFrame(QByteArrayView frame)
{
    const std::optional<SideInfo> side = sideInfo(frame);
    if (!side)
        return false;
    const auto tagAt = [&frame](qsizetype at, const char* tag) {
        return frame.size() >= at + 4 && std::memcmp(frame.data() + at, tag, 4) == 0;
    };
    // Encoders place the tag after the side information; some count the CRC, some not.
    for (qsizetype at : {side->offset + side->size, kHeaderBytes + side->size})
        if (tagAt(at, "Xing") || tagAt(at, "Info"))
            return true;
    return tagAt(kHeaderBytes + 32, "VBRI");
}

QByteArray Mp3Splice::silentFrame(char third, qsizetype length)
{
    if (length < kSilentHeadBytes)
        return {};
    QByteArray frame;
    frame.reserve(length);
    frame += '\xFF';
    frame += '\xFB';
    frame += static_cast<char>(third & ~0x01);
    frame += kSilentFourthByte;
    frame += QByteArray::fromHex(kSilentSideInfo);
    frame.append(length - frame.size(), '\0');
    return frame;
}

QByteArrayView Mp3Splice::pass(QByteArrayView frame, bool firstOfFile)
{
    if (firstOfFile)
        restart();
    const std::optional<SideInfo> side = sideInfo(frame);
    if (!side || !isMpeg1(frame)) {
        restart();
        return frame;
    }
    const bool information = firstOfFile && isInfoFrame(frame);
    if (!information && side->mainDataBegin <= mAvailable) {
        mAvailable = std::min(mAvailable + side->mainDataBytes, kLongestReach);
        return frame;
    }

    mSilent = silentFrame(frame[2], frame.size());
    // Too short to hold a silent frame: nothing can stand in its place.
    if (mSilent.isEmpty()) {
        restart();
        return frame;
    }
    if (information) {
        // Its bytes are the encoder's, not music: nothing after it reaches into them.
        mAvailable = 0;
    } else {
        // The frame's own main data, at the end, where the frames after it look for it.
        const qsizetype kept = std::min(side->mainDataBytes, mSilent.size() - kSilentHeadBytes);
        std::memcpy(mSilent.data() + mSilent.size() - kept, frame.data() + frame.size() - kept,
                    static_cast<size_t>(kept));
        mAvailable = std::min(mAvailable + kept, kLongestReach);
    }
    ++mReplaced;
    return mSilent;
}

} // namespace kntr
