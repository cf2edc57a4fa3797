#pragma once

#include "model/units.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

namespace kntr {

class Machine;
class Mp3Layout;
class Segment;
class WaveLayout;
class Workout;

/// A chapter of a workout file as read back from it.
struct ChapterMark {
    double seconds = 0; ///< where it starts in the audio
    QString title;
};

/// Chapter marks in workout files, one per segment, starting where the
/// segment's sounds start: its get-ready clip, or without spoken cues its
/// control tone. An MP3 file carries them in an ID3v2.4 tag in front of its
/// frames (made by TagLib), a WAV file in a `cue ` chunk and a `LIST`/`adtl`
/// chunk of `labl` labels after its data chunk.
class ChapterMarks {
public:
    /// A tag or chunk larger than this is not read: ours take a few kilobytes.
    static constexpr qint64 kMaxReadBytes = qint64(64) << 10;
    /// The most chapters read from one file.
    static constexpr int kMaxChapters = 1000;

    /// "Segment n — 6.5 mph, 2 %": the segment's targets, a speed in the units
    /// it is spoken in, a resistance by name ("Segment 2 — 12 mph, resistance 5").
    static QString title(int number, const Segment& segment, const Machine& machine, Units units);

    /// The milliseconds of a run of MP3 frames, 1152 / 44,100 s each, rounded.
    static qint64 frameMilliseconds(qint64 frames);

    /// The ID3v2.4 tag of an MP3 workout laid out as layout: the title (TIT2), a
    /// CHAP frame per segment ("chp1", …, with its title as TIT2) from its start
    /// to the next one's, the last to the end of the audio, and a top-level,
    /// ordered CTOC ("toc") listing them.
    static QByteArray mp3Tag(const Mp3Layout& layout, const Workout& workout, const Machine& machine,
                             Units units, const QString& title);

    /// The chunks that follow the data chunk of a WAV workout laid out as layout:
    /// `cue ` with a point per segment (id n, at its first sample frame) and
    /// `LIST`/`adtl` with a `labl` per point carrying its title.
    static QByteArray wavChunks(const WaveLayout& layout, const Workout& workout, const Machine& machine,
                                Units units);
    /// Appends chunks to a WAV file written up to its end, and sets the RIFF size
    /// to cover them. False when the file cannot take them.
    static bool appendToWav(QIODevice& file, const QByteArray& chunks);

    /// The chapter marks a WAV or MP3 file holds, by start; none when it holds
    /// none or is no such file. Reads only the ID3v2 tag at an MP3 file's start
    /// or a WAV file's chunk headers, cue and label chunks, each within
    /// kMaxReadBytes.
    static std::vector<ChapterMark> read(QIODevice& file);
    static std::vector<ChapterMark> read(const QString& path);
};

} // namespace kntr
