#pragma once

#include "musicentry.h"

#include <QByteArrayView>
#include <QFile>

#include <vector>

namespace kntr {

/// Reads the frames of the music list front to back, as a workout MP3 file
/// copies them, holding only a small window of one file at a time.
///
/// An entry is read from its first frame while each frame carries one of the
/// entry's two headers and lies wholly within the file. An ID3v1 tag, the end
/// of the file, or anything that is not such a frame (a file changed since it
/// was admitted) ends the entry: what follows is never used, so only whole
/// frames come out. The next entry then follows from its first frame, or, when
/// reading only one entry, the music ends.
class Mp3MusicReader {
public:
    explicit Mp3MusicReader(const std::vector<MusicEntry>& music);

    /// Reads entry index alone from its first frame; past the last entry there is no music.
    void readOnly(int index);

    /// The next frame, or an empty view when the music has ended. The bytes stay
    /// valid until the next call.
    QByteArrayView next();

    /// Whether the next frame is already whole in the window: next() then
    /// neither reads nor moves the window, so the views it gave since the last
    /// read stay valid and lie one after another.
    bool nextInWindow() const;

    /// The entry the last frame came from; -1 before the first.
    int entry() const { return mEntry; }
    /// Whether the last frame was the first read from its entry.
    bool startedEntry() const { return mStarted; }

    static constexpr qint64 kWindowBytes = 256 * 1024;

private:
    bool open(int index);
    bool moveOn();
    /// Makes count bytes from the read position available; false at the end of the file.
    bool have(qint64 count);

    const std::vector<MusicEntry>& mMusic;
    QFile mFile;
    int mEntry = -1;
    bool mOnly = false;
    bool mEnded = false;
    bool mStarted = false;
    bool mFresh = false;
    std::vector<char> mWindow;
    qint64 mBegin = 0; // read position within the window
    qint64 mEnd = 0; // bytes held in the window
};

} // namespace kntr
