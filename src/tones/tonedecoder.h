#pragma once

#include "decodedcommand.h"

#include <QtGlobal>

#include <complex>
#include <vector>

namespace kntr {

/// Finds the control-tone commands in 44,100 Hz audio and reads their values
/// back, as a console listening to the audio would.
///
/// The audio is mixed down to one channel and fed in pieces of any size. Every
/// 88-sample symbol window is measured by its 2 kHz content alone, so level
/// changes, noise and music underneath matter little. A command is recognised by
/// the part of its layout that does not depend on its values: six frames, three
/// and then three again after the gap, each starting with a silent symbol and a
/// tone symbol, the gap silent, and every burst starting at the same phase of
/// the sine. Its start is then fixed to the sample, and every symbol is read
/// against the midpoint between the tone and silence levels of its frame set.
class ToneDecoder {
public:
    static constexpr int kSampleRate = 44100;

    /// Takes the next samples, full scale ±1.
    void feed(const float* samples, qsizetype count);
    /// Reads what is left; no more samples may follow.
    void finish();
    /// The commands found so far, in order.
    const std::vector<DecodedCommand>& commands() const { return mCommands; }

    /// Decodes a whole piece of audio.
    static std::vector<DecodedCommand> decode(const float* samples, qsizetype count);

private:
    struct Levels {
        double tone[6];
        double silence[6];
    };

    void scan(bool final);
    /// The 2 kHz amplitude of the symbol window starting at buffer index at.
    double amplitude(qint64 at) const;
    bool levelsAt(qint64 start, Levels& levels) const;
    double score(qint64 start) const;
    void read(qint64 start);
    void add(const DecodedCommand& command, qint64 absoluteStart);

    std::vector<float> mSamples; // not yet examined, from mBase on
    qint64 mBase = 0; // sample number of mSamples[0]
    qint64 mNext = 0; // the first start not yet examined
    std::vector<std::complex<double>> mSums; // running sums of the demodulated samples
    std::vector<DecodedCommand> mCommands;
    qint64 mLastStart = -1; // where the last command's frames begin
};

} // namespace kntr
