#include "wavelayout.h"

#include "platform/wavimage.h"

#include "segmenttone.h"
#include "spokencue.h"
#include "voiceclipsamples.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/workout.h"
#include "tones/controltones.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>

namespace kntr {

namespace {

// The part [from, to) of a piece.
WavePiece slice(const WavePiece& piece, qint64 from, qint64 to)
{
    WavePiece part = piece;
    const qint64 skip = from - piece.start;
    part.start = from;
    part.length = to - from;
    part.bytesOffset += skip;
    part.source += skip;
    return part;
}

qint64 wholeSeconds(double seconds)
{
    return std::max<qint64>(0, static_cast<qint64>(roundHalfEven(seconds)));
}

} // namespace

WaveLayout WaveLayout::plan(const Workout& workout, const Machine& machine, const WaveBuildOptions& options,
                            const std::vector<MusicEntry>& music, const QString& clipDir)
{
    WaveLayout layout;
    layout.mStereo = options.stereo || !music.empty();
    layout.planSkeleton(workout, machine, options, clipDir);
    if (!music.empty())
        layout.planMusic(workout, options, music);
    layout.mPieces.front().bytes = layout.header();
    layout.flatten();
    return layout;
}

qint64 WaveLayout::offsetAt(double seconds) const
{
    const qint64 frame = mStereo ? 4 : 2;
    return kHeaderSize + static_cast<qint64>(roundHalfEven(seconds * kSampleRate)) * frame;
}

void WaveLayout::addZeros(qint64 start, qint64 length)
{
    if (length <= 0)
        return;
    WavePiece piece;
    piece.start = start;
    piece.length = length;
    mPieces.push_back(piece);
    mLength = std::max(mLength, piece.end());
}

void WaveLayout::addBytes(qint64 start, const QByteArray& bytes)
{
    // Nothing goes into the header: a clip too long for the lead-in loses its start.
    const qint64 skip = std::max<qint64>(0, kHeaderSize - start);
    if (bytes.size() <= skip)
        return;
    WavePiece piece;
    piece.kind = WavePiece::Kind::Bytes;
    piece.start = start + skip;
    piece.length = bytes.size() - skip;
    piece.bytes = bytes;
    piece.bytesOffset = skip;
    mPieces.push_back(piece);
    mLength = std::max(mLength, piece.end());
}

void WaveLayout::planSkeleton(const Workout& workout, const Machine& machine, const WaveBuildOptions& options,
                              const QString& clipDir)
{
    const qint64 second = bytesPerSecond();
    ControlTones tones(machine);
    tones.BuildToneBlocks(mStereo);
    VoiceClipSamples clips(clipDir, mStereo);
    const QChar separator = systemDecimalSeparator();

    // The header is the first piece; its sizes are known once everything is placed.
    WavePiece header;
    header.kind = WavePiece::Kind::Bytes;
    header.length = kHeaderSize;
    mPieces.push_back(header);
    mLength = kHeaderSize;

    qint64 position = kHeaderSize;
    addZeros(position, kLeadInSeconds * second);
    position += kLeadInSeconds * second;

    double boundary = kLeadInSeconds;
    for (int k = 1; k <= workout.count(); ++k) {
        const Segment& segment = workout.segment(k);
        const qint64 at = offsetAt(boundary);
        qint64 start = at;
        if (options.voiceCues) {
            const QByteArray& ready = clips.samples(QStringLiteral("getready"));
            addBytes(at - ready.size(), ready);
            start -= ready.size();
        }
        mSegmentStarts.push_back(std::max<qint64>(kHeaderSize, start));
        position = at;
        const QByteArray tone = SegmentTone::samples(tones, segment, mStereo);
        for (int beep = 0; beep < (options.beeps == 2 ? 2 : 1); ++beep) {
            addBytes(position, tone);
            position += tone.size();
        }
        if (options.voiceCues) {
            for (const QString& word : SpokenCue::words(segment, machine, options.units, separator)) {
                const QByteArray& clip = clips.samples(word);
                addBytes(position, clip);
                position += clip.size();
            }
        }
        const qint64 silence = wholeSeconds(segment.SegmentTime()) * second;
        addZeros(position, silence);
        position += silence;
        boundary += segment.SegmentTime();
    }

    if (options.voiceCues) {
        const QByteArray& end = clips.samples(QStringLiteral("endofworkout"));
        position = offsetAt(boundary);
        addBytes(position - end.size(), end);
    }
    const QByteArray stop = SegmentTone::endSamples(tones, mStereo);
    addBytes(position, stop);
    position += stop.size();
    addZeros(position, kTailSeconds * second);
}

void WaveLayout::planMusic(const Workout& workout, const WaveBuildOptions& options,
                           const std::vector<MusicEntry>& music)
{
    const int firstHeard = options.voiceCues ? 7 : 2;
    const auto entryCount = static_cast<int>(music.size());
    int entry = 0;
    qint64 used = 0;
    double boundary = kLeadInSeconds;
    for (int k = 1; k <= workout.count(); ++k) {
        const double time = workout.segment(k).SegmentTime();
        double moment = boundary + 0.5;
        if (options.oneFilePerSegment) {
            entry = k - 1;
            used = 0;
            if (entry >= entryCount) {
                mMusicRanOut = true;
                return;
            }
        }
        const qint64 seconds = static_cast<qint64>(roundHalfEven(time - 1.0));
        for (qint64 i = 1; i <= seconds; ++i) {
            if (!options.oneFilePerSegment && static_cast<double>(used) > music[entry].seconds) {
                ++entry;
                used = 0;
                if (entry >= entryCount) {
                    mMusicRanOut = true;
                    return;
                }
            }
            if (i >= firstHeard && static_cast<double>(i) < time - 1.0) {
                const qint64 start = offsetAt(moment);
                const qint64 source = music[entry].firstSampleOffset() + used * kMusicBytesPerSecond;
                WavePiece* last = mPieces.empty() ? nullptr : &mPieces.back();
                if (last && last->kind == WavePiece::Kind::Music && last->entry == entry
                    && last->end() == start && last->source + last->length == source) {
                    last->length += kMusicBytesPerSecond;
                } else {
                    WavePiece piece;
                    piece.kind = WavePiece::Kind::Music;
                    piece.start = start;
                    piece.length = kMusicBytesPerSecond;
                    piece.entry = entry;
                    piece.source = source;
                    piece.segment = k;
                    piece.firstSecond = boundary - kLeadInSeconds + static_cast<double>(i);
                    mPieces.push_back(piece);
                }
                mLength = std::max(mLength, start + kMusicBytesPerSecond);
            }
            ++used;
            moment += 1.0;
        }
        boundary += time;
    }
}

QByteArray WaveLayout::header() const
{
    // Sizes beyond 32 bits cannot be written; the builder refuses such files.
    return WavImage::header(mStereo ? 2 : 1, kSampleRate, static_cast<quint32>(mLength - kHeaderSize));
}

void WaveLayout::flatten()
{
    // Each placement covers what lies beneath it; a gap (a seek past the end) is silence.
    std::map<qint64, WavePiece> spans;
    for (const WavePiece& piece : mPieces) {
        auto it = spans.upper_bound(piece.start);
        if (it != spans.begin())
            --it;
        while (it != spans.end() && it->second.start < piece.end()) {
            const WavePiece below = it->second;
            if (below.end() <= piece.start) {
                ++it;
                continue;
            }
            it = spans.erase(it);
            if (below.start < piece.start)
                spans.emplace(below.start, slice(below, below.start, piece.start));
            if (below.end() > piece.end())
                it = spans.emplace(piece.end(), slice(below, piece.end(), below.end())).first;
        }
        spans.emplace(piece.start, piece);
    }
    mSpans.clear();
    qint64 covered = 0;
    for (auto& [start, span] : spans) {
        if (start > covered)
            mSpans.push_back(slice(WavePiece{}, covered, start));
        mSpans.push_back(std::move(span));
        covered = mSpans.back().end();
    }
    mPieces.clear();
}

size_t WaveLayout::spanAt(qint64 offset) const
{
    const auto it = std::upper_bound(mSpans.begin(), mSpans.end(), offset,
                                     [](qint64 at, const WavePiece& span) { return at < span.start; });
    return it == mSpans.begin() ? 0 : static_cast<size_t>(it - mSpans.begin() - 1);
}

void WaveLayout::compose(qint64 offset, char* out, qint64 count, const MusicReader& read) const
{
    const qint64 end = offset + count;
    for (size_t i = spanAt(offset); i < mSpans.size() && mSpans[i].start < end; ++i) {
        const WavePiece& span = mSpans[i];
        const qint64 from = std::max(offset, span.start);
        const qint64 to = std::min(end, span.end());
        if (from >= to)
            continue;
        char* at = out + (from - offset);
        const qint64 n = to - from;
        switch (span.kind) {
        case WavePiece::Kind::Zeros:
            std::memset(at, 0, static_cast<size_t>(n));
            break;
        case WavePiece::Kind::Bytes:
            std::memcpy(at, span.bytes.constData() + span.bytesOffset + (from - span.start),
                        static_cast<size_t>(n));
            break;
        case WavePiece::Kind::Music: {
            // Bytes past the end of the music file are silence.
            const qint64 got =
                read ? std::max<qint64>(0, read(span.entry, span.source + (from - span.start), at, n)) : 0;
            std::memset(at + got, 0, static_cast<size_t>(n - got));
            break;
        }
        }
    }
}

} // namespace kntr
