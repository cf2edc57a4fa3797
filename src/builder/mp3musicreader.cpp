#include "mp3musicreader.h"

#include <cstring>

#include <fcntl.h>

namespace kntr {

Mp3MusicReader::Mp3MusicReader(const std::vector<MusicEntry>& music)
    : mMusic(music)
    , mWindow(kWindowBytes)
{
    mEnded = !open(0) && !moveOn();
}

void Mp3MusicReader::readOnly(int index)
{
    mOnly = true;
    mEnded = !open(index);
}

bool Mp3MusicReader::open(int index)
{
    mFile.close();
    mBegin = mEnd = 0;
    mEntry = index;
    mFresh = true;
    if (index < 0 || static_cast<size_t>(index) >= mMusic.size())
        return false;
    const MusicEntry& entry = mMusic[static_cast<size_t>(index)];
    // Sizes that could not step through the file end the entry at once.
    if (entry.frameHeader.size() != 3 || entry.paddedFrameHeader.size() != 3 || entry.frameSize <= 3
        || entry.paddedFrameSize <= 3 || entry.dataPosition < 1)
        return false;
    mFile.setFileName(entry.path);
    // A file gone since it was admitted has no frames.
    if (!mFile.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || !mFile.seek(entry.dataPosition - 1))
        return false;
    // Each file is read once, front to back: let the system read well ahead.
    ::posix_fadvise(mFile.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

bool Mp3MusicReader::moveOn()
{
    if (mOnly)
        return false;
    while (static_cast<size_t>(mEntry + 1) < mMusic.size())
        if (open(mEntry + 1))
            return true;
    mFile.close();
    return false;
}

bool Mp3MusicReader::have(qint64 count)
{
    if (mEnd - mBegin >= count)
        return true;
    // Keep the bytes not yet used and fill the rest of the window.
    std::memmove(mWindow.data(), mWindow.data() + mBegin, static_cast<size_t>(mEnd - mBegin));
    mEnd -= mBegin;
    mBegin = 0;
    while (mEnd < count) {
        const qint64 got = mFile.read(mWindow.data() + mEnd, static_cast<qint64>(mWindow.size()) - mEnd);
        if (got <= 0)
            return false;
        mEnd += got;
    }
    return true;
}

bool Mp3MusicReader::nextInWindow() const
{
    if (mEnded || mEnd - mBegin < 3)
        return false;
    const MusicEntry& entry = mMusic[static_cast<size_t>(mEntry)];
    const QByteArrayView header(mWindow.data() + mBegin, 3);
    const qint64 size = header == entry.frameHeader ? entry.frameSize
        : header == entry.paddedFrameHeader         ? entry.paddedFrameSize
                                                    : 0;
    return size > 0 && mEnd - mBegin >= size;
}

QByteArrayView Mp3MusicReader::next()
{
    while (!mEnded) {
        const MusicEntry& entry = mMusic[static_cast<size_t>(mEntry)];
        qint64 size = 0;
        if (have(3)) {
            const QByteArrayView header(mWindow.data() + mBegin, 3);
            if (header == entry.frameHeader)
                size = entry.frameSize;
            else if (header == entry.paddedFrameHeader)
                size = entry.paddedFrameSize;
        }
        if (size > 0 && have(size)) {
            const QByteArrayView frame(mWindow.data() + mBegin, size);
            mBegin += size;
            mStarted = mFresh;
            mFresh = false;
            return frame;
        }
        // A tag, the end of the file or bytes that are not a frame: this entry is done.
        mEnded = !moveOn();
    }
    return {};
}

} // namespace kntr
