#pragma once

#include "cddevice.h"

#include <QByteArray>
#include <QIODevice>
#include <QPointer>
#include <QString>

#include <memory>

class QAudioSink;
struct _CdIo; // libcdio's CdIo_t
struct cdrom_drive_s; // libcdio-paranoia's cdrom_drive_t
struct cdrom_paranoia_s; // libcdio-paranoia's cdrom_paranoia_t

namespace kntr {

class MasterGain;

/// A disc opened for reading its audio digitally, sector by sector, through
/// libcdio-paranoia: a disc in a drive or a BIN/CUE image. Addresses are disc
/// addresses in frames (sectors) at 75 a second, the first track usually at 00:02:00.
class CdAudioDisc {
public:
    static constexpr int kSectorBytes = 2352; ///< 588 stereo 16-bit samples at 44.1 kHz
    static constexpr int kSampleRate = 44100;
    static constexpr int kChannels = 2;

    /// Opens device: empty for the system's default drive, a path ending in .cue
    /// for a BIN/CUE image, anything else a drive. On failure *code is kNoDrive
    /// (the drive can't be opened) or kNoDisc (no disc with audio, or no image).
    static std::unique_ptr<CdAudioDisc> open(const QString& device, int* code);
    ~CdAudioDisc();
    CdAudioDisc(const CdAudioDisc&) = delete;
    CdAudioDisc& operator=(const CdAudioDisc&) = delete;

    /// The first audio track's address.
    int firstFrame() const { return mFirst; }
    /// The address just past the disc's audio: the lead-out, or a data track after the music.
    int endFrame() const { return mEnd; }

    /// Moves reading to an address within the audio.
    bool seek(int frame);
    /// The next sector's samples (kSectorBytes, in the machine's byte order), or
    /// null when the disc can no longer be read: it was taken out or the drive
    /// went away. A sector that can't be read on its own comes as silence.
    const char* readSector();
    /// Whether the disc was changed or taken out since it was opened.
    bool changed() const;

private:
    CdAudioDisc() = default;

    ::_CdIo* mCdio = nullptr;
    ::cdrom_drive_s* mDrive = nullptr;
    ::cdrom_paranoia_s* mParanoia = nullptr;
    bool mImage = false;
    int mFirst = 0;
    int mEnd = 0;
    int mNext = 0; ///< the next sector readSector reads
    int mFailedSectors = 0; ///< sectors in a row that could not be read
    QByteArray mSilence;
};

/// The samples a disc plays from an address to the end of its audio, for a sound
/// sink to pull: a few sectors are read at each pull, and scaled by the master
/// gain when it is below 1 (unaltered at the full level).
class CdPcmSource : public QIODevice {
public:
    /// The disc must outlive the source; the gain may be null (full level).
    CdPcmSource(CdAudioDisc& disc, int fromFrame, const MasterGain* gain);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;

    /// Bytes handed out so far.
    qint64 bytesRead() const { return mBytesRead; }
    /// Whether the end of the audio was reached or the disc could no longer be read.
    bool exhausted() const { return mFailed || (mNext >= mEnd && mSectorPos >= mSector.size()); }
    /// Whether the disc could no longer be read.
    bool failed() const { return mFailed; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    CdAudioDisc& mDisc;
    QPointer<const MasterGain> mGain;
    QByteArray mSector; ///< the sector being handed out
    qint64 mSectorPos = 0; ///< bytes of it handed out
    int mNext; ///< the next sector to read
    int mEnd;
    qint64 mBytesRead = 0;
    bool mFailed = false;
};

/// The CD device reading the disc digitally and playing it on the sound card
/// through Qt Multimedia, at the program's music level. Playing runs from the
/// address given to the end of the disc's audio; the position is what the sound
/// card has played, so it stops where the music was heard to stop.
class ParanoiaCdDevice : public CdDevice {
public:
    /// device: a drive (/dev/sr0), a BIN/CUE image (a path ending in .cue), or empty
    /// for the system's default drive. The gain may be null (full level).
    explicit ParanoiaCdDevice(const QString& device = {}, const MasterGain* gain = nullptr);
    ~ParanoiaCdDevice() override;
    ParanoiaCdDevice(const ParanoiaCdDevice&) = delete;
    ParanoiaCdDevice& operator=(const ParanoiaCdDevice&) = delete;

protected:
    int mediaPresent(bool& present) override;
    int play(std::optional<int> fromFrame) override;
    int pause() override;
    int position(int& frame) override;
    int stop() override;
    int close() override;

private:
    /// Opens the disc on first use and again after a disc change or a read failure.
    int reach();
    /// Whether the music is being played (or has played out to the end of the audio).
    bool playing() const { return mSink != nullptr; }
    /// Where playing has got to: the start plus what the sound card has played.
    int playedFrame() const;
    /// Stops the sound card, keeping the position it reached.
    void halt();

    QString mDevice;
    QPointer<const MasterGain> mGain;
    std::unique_ptr<CdAudioDisc> mDisc;
    std::unique_ptr<CdPcmSource> mSource;
    std::unique_ptr<QAudioSink> mSink;
    int mStart = 0; ///< where the current play started
    int mFrame = 0; ///< the position while not playing
};

} // namespace kntr
