#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace kntr {

/// Keeps music frames copied into a workout MP3 file from decoding what is not
/// theirs.
///
/// A Layer III frame may take the start of its main data from the frames
/// before it (the bit reservoir): its side information says how many bytes back
/// (main_data_begin). A music frame copied after an inserted tone or cue would
/// take those bytes from the insert and decode as noise or silence. Such a
/// frame, and an encoder's information frame (Xing, Info, VBRI) at the start of
/// a file, is replaced by a silent frame of the same length, so that every
/// count and time in the file stays as it is.
///
/// The silent frame carries the replaced frame's own main data as ancillary
/// bytes, so the frames after it find in the reservoir what they found there in
/// their own file: only the frames that reach back further than the music
/// copied since the splice are replaced, at 128 kbit/s one or two.
class Mp3Splice {
public:
    /// Where a Layer III frame's side information lies and what it says of the
    /// main data: read from the frame header (MPEG-1: 32 bytes of side
    /// information, 17 in mono, main_data_begin 9 bits; MPEG-2 and 2.5: 17, 9 in
    /// mono, 8 bits), after the 16-bit CRC when the header announces one.
    struct SideInfo {
        qsizetype offset = 4; ///< of the side information in the frame
        qsizetype size = 32; ///< bytes of side information
        int mainDataBegin = 0; ///< bytes of main data taken from the frames before
        qsizetype mainDataBytes = 0; ///< bytes after the side information, to the frame's end
    };

    /// The side information of frame, a whole frame starting at its header;
    /// nothing when frame is not Layer III or too short to hold it.
    static std::optional<SideInfo> sideInfo(QByteArrayView frame);

    /// Whether frame is an encoder's information frame rather than audio: "Xing"
    /// or "Info" right after the side information, or "VBRI" 32 bytes after the
    /// header.
    static bool isInfoFrame(QByteArrayView frame);

    /// An MPEG-1 Layer III frame of length bytes that decodes as silence: the
    /// sync bytes without CRC, third as the header's third byte (bit rate, sample
    /// rate and padding; the private bit cleared), joint stereo, side information
    /// with main_data_begin 0 and every granule empty at gain 0, then zeros.
    /// Empty when length cannot hold the header and side information.
    static QByteArray silentFrame(char third, qsizetype length);

    /// The next frame passed follows something other than its predecessor in
    /// its file: no main data before it may be used.
    void restart() { mAvailable = 0; }

    /// frame as it may be copied: frame itself, or a silent frame of its length
    /// when it reaches for main data from before the last restart (or the last
    /// silent frame given for an information frame), or when it is its file's
    /// first frame (firstOfFile) and an information frame. A frame that is not
    /// MPEG-1 Layer III, or too short to hold a silent frame, passes as it is
    /// (and the next frame starts afresh). The view stays valid until the next call.
    QByteArrayView pass(QByteArrayView frame, bool firstOfFile);

    /// The frames replaced so far.
    qint64 replaced() const { return mReplaced; }

private:
    qint64 mAvailable = 0; // main-data bytes of the music frames passed since the last restart
    qint64 mReplaced = 0;
    QByteArray mSilent;
};

} // namespace kntr
