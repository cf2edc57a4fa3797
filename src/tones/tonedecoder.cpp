#include "tonedecoder.h"

#include "controltones.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kntr {

namespace {

constexpr int kSymbol = ControlTones::kSamplesPerSymbol;
constexpr int kFrame = 10 * kSymbol;
constexpr int kSecondSet = 3 * kFrame + ControlTones::kGapFrames;
/// Where the six frames begin, from the first.
constexpr std::array<qint64, 6> kFrameStarts = {
    0, kFrame, 2 * kFrame, kSecondSet, kSecondSet + kFrame, kSecondSet + 2 * kFrame};
/// Symbol windows measured in the middle of the gap, clear of the frames on either side.
constexpr int kGapSymbols = 8;
static_assert((2 + kGapSymbols) * kSymbol <= ControlTones::kGapFrames);
/// Samples from the first frame's start to the end of the last symbol.
constexpr qint64 kFramesSpan = kSecondSet + 3 * kFrame;
/// Samples between the starts of two tones played back to back.
constexpr qint64 kImage = ControlTones::kImageFrames;

constexpr int kHop = 8; // coarse search step
constexpr int kCluster = 256; // a command's best coarse start lies within this of its first
constexpr int kRefine = kHop; // then every sample this far either side is tried
/// Past a recognised command the search resumes here: a command after it starts
/// no sooner than one image later.
constexpr qint64 kSkip = kFramesSpan - 400;
constexpr qsizetype kChunk = 1 << 20;

/// The tone's angular step per sample, as the synthesis uses it.
const double kStep = static_cast<double>(0.28495f);
/// The quietest tone taken for one: about -50 dB of full scale.
constexpr double kFloor = 0.003 * kSymbol / 2.0;
/// A silent symbol of the known layout may carry at most this share of the
/// weakest tone symbol (leakage, noise, music underneath, and the pre-echo a
/// lossy encoder spreads before a tone) ...
constexpr double kSilenceShare = 0.5;
/// ... except in one frame, where an encoder short of bits may smear the tone
/// further; but never this share of the frame's own tone symbol ...
constexpr double kSmearedShare = 0.8;
/// ... and all of them together at most this share of all the tone symbols.
constexpr double kTotalSilenceShare = 0.25;
/// The weakest tone symbol of the layout is at least this share of the strongest.
constexpr double kToneSpread = 0.5;
/// Every burst starts at the same phase of the sine at the start of its symbol,
/// so the tone symbols of a command agree in phase; in noise they do not. The
/// length of the mean of their phase vectors must reach this.
constexpr double kPhaseAgreement = 0.9;

} // namespace

void ToneDecoder::feed(const float* samples, qsizetype count)
{
    // A chunk at a time, however much comes at once, so the running sums stay small.
    while (count > 0) {
        const qsizetype take = std::min(count, kChunk);
        mSamples.insert(mSamples.end(), samples, samples + take);
        samples += take;
        count -= take;
        if (static_cast<qsizetype>(mSamples.size()) >= kChunk + kFramesSpan + kCluster + 2 * kRefine)
            scan(false);
    }
}

void ToneDecoder::finish()
{
    scan(true);
    mSamples.clear();
    mSums.clear();
    mSums.shrink_to_fit();
}

std::vector<DecodedCommand> ToneDecoder::decode(const float* samples, qsizetype count)
{
    ToneDecoder decoder;
    decoder.feed(samples, count);
    decoder.finish();
    return decoder.commands();
}

double ToneDecoder::amplitude(qint64 at) const
{
    return std::abs(mSums[static_cast<size_t>(at + kSymbol)] - mSums[static_cast<size_t>(at)]);
}

bool ToneDecoder::levelsAt(qint64 start, Levels& levels) const
{
    // Cheap refusals first: most of the audio fails at the first frame.
    levels.tone[0] = amplitude(start + kSymbol);
    if (levels.tone[0] < kFloor)
        return false;
    levels.silence[0] = amplitude(start);
    if (levels.silence[0] > kSmearedShare * levels.tone[0])
        return false;
    double weakest = levels.tone[0], strongest = levels.tone[0];
    double tones = levels.tone[0], silences = levels.silence[0];
    for (size_t f = 1; f < kFrameStarts.size(); ++f) {
        levels.tone[f] = amplitude(start + kFrameStarts[f] + kSymbol);
        levels.silence[f] = amplitude(start + kFrameStarts[f]);
        if (levels.tone[f] < kFloor || levels.silence[f] > kSmearedShare * levels.tone[f])
            return false;
        weakest = std::min(weakest, levels.tone[f]);
        strongest = std::max(strongest, levels.tone[f]);
        tones += levels.tone[f];
        silences += levels.silence[f];
    }
    if (weakest < kToneSpread * strongest || silences > kTotalSilenceShare * tones)
        return false;
    int smeared = 0;
    for (size_t f = 0; f < kFrameStarts.size(); ++f)
        if (levels.silence[f] > kSilenceShare * weakest)
            ++smeared;
    if (smeared > 1)
        return false;
    // The middle of the gap between the frame sets is silent too. Noise that
    // happened to sound like the frames' known symbols does not stay quiet there.
    double gap = 0.0;
    for (int k = 2; k < 2 + kGapSymbols; ++k)
        gap += amplitude(start + 3 * kFrame + k * kSymbol);
    if (gap / kGapSymbols > kTotalSilenceShare * tones / static_cast<double>(kFrameStarts.size()))
        return false;

    std::complex<double> agreement = 0.0;
    for (size_t f = 0; f < kFrameStarts.size(); ++f) {
        const qint64 at = start + kFrameStarts[f] + kSymbol;
        const std::complex<double> sum =
            mSums[static_cast<size_t>(at + kSymbol)] - mSums[static_cast<size_t>(at)];
        // The phase relative to the symbol's start.
        const std::complex<double> phase = sum * std::polar(1.0, kStep * static_cast<double>(at));
        agreement += phase / std::abs(phase);
    }
    return std::abs(agreement) >= kPhaseAgreement * static_cast<double>(kFrameStarts.size());
}

double ToneDecoder::score(qint64 start) const
{
    Levels levels;
    if (!levelsAt(start, levels))
        return -1.0;
    double s = 0.0;
    for (size_t f = 0; f < kFrameStarts.size(); ++f)
        s += levels.tone[f] - levels.silence[f];
    return s;
}

void ToneDecoder::scan(bool final)
{
    const auto n = static_cast<qint64>(mSamples.size());
    // Running sums of the samples turned down by 2 kHz: the content of any window
    // near 2 kHz is then the magnitude of a difference of two sums.
    mSums.resize(static_cast<size_t>(n + 1));
    mSums[0] = 0.0;
    std::complex<double> turn = 1.0;
    const std::complex<double> step = std::polar(1.0, -kStep);
    for (qint64 i = 0; i < n; ++i) {
        if (i % 4096 == 0)
            turn = std::polar(1.0, -kStep * static_cast<double>(i));
        mSums[static_cast<size_t>(i + 1)] =
            mSums[static_cast<size_t>(i)] + static_cast<double>(mSamples[static_cast<size_t>(i)]) * turn;
        turn *= step;
    }

    // A start is examined once everything its refinement may look at is here.
    const qint64 last = n - kFramesSpan - kRefine - (final ? 0 : kCluster);
    qint64 t = std::max<qint64>(mNext - mBase, kRefine);
    while (t <= last) {
        if (score(t) < 0.0) {
            t += kHop;
            continue;
        }
        qint64 best = t;
        double bestScore = score(t);
        for (qint64 u = t + kHop; u <= std::min(t + kCluster, last); u += kHop) {
            const double s = score(u);
            if (s > bestScore) {
                best = u;
                bestScore = s;
            }
        }
        const qint64 coarse = best;
        for (qint64 v = coarse - kRefine; v <= coarse + kRefine; ++v) {
            if (v < 0 || v + kFramesSpan > n)
                continue;
            const double s = score(v);
            if (s > bestScore) {
                best = v;
                bestScore = s;
            }
        }
        read(best);
        t = best + kSkip;
    }
    mNext = mBase + t;

    // Keep what a later start may still look at.
    const qint64 keep = std::clamp<qint64>(t - kRefine, 0, n);
    mSamples.erase(mSamples.begin(), mSamples.begin() + keep);
    mBase += keep;
}

void ToneDecoder::read(qint64 start)
{
    int values[2][3] = {};
    for (int set = 0; set < 2; ++set) {
        double tone = 0.0, silence = 0.0;
        for (int f = 0; f < 3; ++f) {
            const qint64 frame = start + kFrameStarts[static_cast<size_t>(set * 3 + f)];
            silence += amplitude(frame);
            tone += amplitude(frame + kSymbol);
        }
        const double threshold = (tone + silence) / 6.0;
        for (int f = 0; f < 3; ++f) {
            const qint64 frame = start + kFrameStarts[static_cast<size_t>(set * 3 + f)];
            int value = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (amplitude(frame + (2 + bit) * kSymbol) > threshold)
                    value |= 1 << bit;
            values[set][f] = value;
        }
    }
    const auto holds = [](const int* v) { return ((v[0] + v[1]) & 0xFF) == v[2]; };
    const int* chosen = !holds(values[0]) && holds(values[1]) ? values[1] : values[0];

    DecodedCommand command;
    const qint64 absolute = mBase + start;
    command.seconds = static_cast<double>(absolute - ControlTones::kLeadInFrames) / kSampleRate;
    command.first = chosen[0];
    command.second = chosen[1];
    command.check = chosen[2];
    command.checkHolds = holds(chosen);
    command.repeatMatched = std::equal(values[0], values[0] + 3, values[1]);
    add(command, absolute);
}

void ToneDecoder::add(const DecodedCommand& command, qint64 absoluteStart)
{
    // The same tone again straight after the first: the two-beep option.
    if (!mCommands.empty()) {
        DecodedCommand& previous = mCommands.back();
        if (previous.beeps == 1 && std::abs(absoluteStart - mLastStart - kImage) <= 2 * kHop
            && previous.first == command.first && previous.second == command.second
            && previous.check == command.check) {
            previous.beeps = 2;
            previous.repeatMatched = previous.repeatMatched && command.repeatMatched;
            mLastStart = absoluteStart;
            return;
        }
    }
    mCommands.push_back(command);
    mLastStart = absoluteStart;
}

} // namespace kntr
