#include "controltones.h"

#include "platform/wavimage.h"

#include "commandencoding.h"
#include "model/machine.h"
#include "model/numbers.h"

#include <cmath>

namespace kntr {

namespace {

void appendU16(QByteArray& bytes, std::uint16_t v)
{
    bytes.append(static_cast<char>(v & 0xFF));
    bytes.append(static_cast<char>(v >> 8));
}

QByteArray waveHeader(int channels)
{
    return WavImage::header(channels, ControlTones::kSampleRate, ControlTones::kImageFrames * 2u * channels);
}

} // namespace

ControlTones::ControlTones(const Machine& machine)
    : mMachine(machine)
{
    BuildToneBlocks(false);
}

std::array<std::uint16_t, ControlTones::kSamplesPerSymbol> ControlTones::toneSamples()
{
    // 0.28495 rad per sample is 2 kHz at 44.1 kHz. The step is held as a float, the
    // phase and sine in double, the sample as a float again; negative samples get
    // 65535 added (not 65536), which the consoles have always heard.
    const float w = 0.28495f;
    std::array<std::uint16_t, kSamplesPerSymbol> samples{};
    for (int n = 1; n <= kSamplesPerSymbol; ++n) {
        float p = static_cast<float>(std::sin(static_cast<double>(n) * static_cast<double>(w)) * 32768.0);
        if (p < 0.0f)
            p = static_cast<float>(static_cast<double>(p) + 65535.0);
        samples[n - 1] = static_cast<std::uint16_t>(roundHalfEven(static_cast<double>(p)));
    }
    return samples;
}

void ControlTones::BuildToneBlocks(bool stereo)
{
    const int channels = stereo ? 2 : 1;
    mStereo = stereo;
    mSilenceBlock = QByteArray(kSamplesPerSymbol * 2 * channels, '\0');
    mToneBlock.clear();
    mToneBlock.reserve(kSamplesPerSymbol * 2 * channels);
    for (std::uint16_t word : toneSamples())
        for (int c = 0; c < channels; ++c)
            appendU16(mToneBlock, word);
    mHeader = waveHeader(channels);
}

QByteArray ControlTones::MakeControlTone(std::int16_t first, std::int16_t second, bool stereo)
{
    if (stereo != mStereo)
        BuildToneBlocks(stereo);
    const CommandFrames frames = EncodeCommand(mMachine.MachineType(), first, second);
    const int frameBytes = stereo ? 4 : 2;

    QByteArray image;
    image.reserve(stereo ? kStereoImageSize : kMonoImageSize);
    image.append(mHeader);
    image.append(kLeadInFrames * frameBytes, '\0');
    for (const QString& frame : frames)
        appendFrame(image, frame);
    image.append(kGapFrames * frameBytes, '\0');
    for (const QString& frame : frames)
        appendFrame(image, frame);
    image.append(kTailFrames * frameBytes, '\0');
    return image;
}

void ControlTones::appendFrame(QByteArray& image, const QString& frame) const
{
    for (QChar symbol : frame)
        image.append(symbol == QLatin1Char('1') ? mToneBlock : mSilenceBlock);
}

} // namespace kntr
