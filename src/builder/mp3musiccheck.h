#pragma once

#include "musiccheckresult.h"

#include <QString>

#include <functional>

namespace kntr {

/// Admits an MP3 music file only when it is constant-bit-rate MPEG-1 Layer III
/// at 44,100 Hz in stereo or joint stereo, so that its frames can be copied into
/// a workout file as they are.
///
/// The first frame follows any leading zero bytes and an ID3v2 tag; every frame
/// after it must carry the first frame's header. The music ends at an ID3v1 tag
/// or at a last frame cut short by the end of the file: the whole frames before
/// it are counted, as the build copies them. The file is only read.
class Mp3MusicCheck {
public:
    /// step is called once per frame walked, so a window can keep responding.
    static MusicCheckResult check(const QString& path, const std::function<void()>& step = {});

    /// The 0-based offset of the first audio byte, as the live play list needs it:
    /// 0, or for a file that begins with an ID3v2 tag the tag's size + 10.
    static qint64 id3AudioOffset(const QString& path);

    static QString undecodableMessage();
    static QString monauralMessage();
    /// The frame walk's rejection: frames counted so far and the bytes found.
    static QString frameWalkMessage(qint64 frames, const QByteArray& found);
};

} // namespace kntr
