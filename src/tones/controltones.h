#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace kntr {

class Machine;

/// Renders control-tone commands as 44,100 Hz 16-bit PCM WAV images.
///
/// Every symbol of a frame lasts 88 samples: a "1" is a burst of a 2 kHz sine, a
/// "0" silence. The burst, the silence and the WAV header are prepared once per
/// channel mode; an image is then only a concatenation of prepared blocks and zero
/// runs, cheap enough to make at every segment start of a live run.
class ControlTones {
public:
    static constexpr int kSamplesPerSymbol = 88;
    static constexpr int kSampleRate = 44100;
    static constexpr int kHeaderSize = 44;
    static constexpr int kLeadInFrames = 1412;
    static constexpr int kGapFrames = 1054;
    static constexpr int kTailFrames = 1254;
    static constexpr int kImageFrames = 9000;
    static constexpr int kMonoImageSize = kHeaderSize + kImageFrames * 2; // 18,044
    static constexpr int kStereoImageSize = kHeaderSize + kImageFrames * 4; // 36,044

    /// Reads the machine type from the profile at every command; prepares the mono set.
    explicit ControlTones(const Machine& machine);

    /// Prepares the silence block, the tone block and the header for mono (false)
    /// or stereo (true), replacing the previous set.
    void BuildToneBlocks(bool stereo);

    /// The WAV image, header included, of the command for the two values (tenths)
    /// on the profile's current machine type. The stereo flag should match the last
    /// BuildToneBlocks call; when it does not, the blocks are prepared for the flag
    /// first so the image is always whole.
    QByteArray MakeControlTone(std::int16_t first, std::int16_t second, bool stereo);

    /// Whether the prepared set is stereo.
    bool stereo() const { return mStereo; }
    const QByteArray& toneBlock() const { return mToneBlock; }
    const QByteArray& silenceBlock() const { return mSilenceBlock; }
    const QByteArray& header() const { return mHeader; }

    /// The 88 sample words of a burst, as stored (negative samples one step low).
    static std::array<std::uint16_t, kSamplesPerSymbol> toneSamples();

private:
    void appendFrame(QByteArray& image, const QString& frame) const;

    const Machine& mMachine;
    bool mStereo = false;
    QByteArray mToneBlock;
    QByteArray mSilenceBlock;
    QByteArray mHeader;
};

} // namespace kntr
