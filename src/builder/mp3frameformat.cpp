#include "mp3frameformat.h"

namespace kntr {

namespace {

struct BitRateRow {
    unsigned char thirdByte; // unpadded; the padded byte is this + 2
    int bitRate;
    int frameSize;
};

// 44,100 Hz, no private bit; a padded frame is one byte longer.
constexpr BitRateRow kBitRates[] = {
    {0x50, 64, 208},  {0x60, 80, 261},  {0x70, 96, 313},  {0x80, 112, 365},
    {0x90, 128, 417}, {0xA0, 160, 522}, {0xB0, 192, 626},
};
constexpr BitRateRow kOtherRate = {0x90, 128, 417};

} // namespace

Mp3FrameFormat Mp3FrameFormat::fromHeader(char first, char second, char third)
{
    const auto byte = static_cast<unsigned char>(third);
    BitRateRow row = kOtherRate;
    for (const BitRateRow& r : kBitRates)
        if (byte == r.thirdByte || byte == r.thirdByte + 2)
            row = r;

    Mp3FrameFormat format;
    format.bitRate = row.bitRate;
    format.frameSize = row.frameSize;
    format.paddedFrameSize = row.frameSize + 1;
    format.header = QByteArray(1, first) + second + static_cast<char>(row.thirdByte);
    format.paddedHeader = QByteArray(1, first) + second + static_cast<char>(row.thirdByte + 2);
    return format;
}

} // namespace kntr
