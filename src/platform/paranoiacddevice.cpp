#include "paranoiacddevice.h"

#include "mastergain.h"

#include <cdio/cdio.h>
#include <cdio/logging.h>
#include <cdio/paranoia/cdda.h>
#include <cdio/paranoia/paranoia.h>

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

namespace kntr {

namespace {

// Sectors paranoia reads from the disc at once (its default is 1,200, 16 s of
// music). A drive gets the classic cdparanoia read-ahead, enough for its overlap
// checks; an image reads exactly, so a third of a second is plenty.
constexpr int kDriveReadAhead = 150;
constexpr int kImageReadAhead = 25;
// How often paranoia re-reads a sector it can't verify before it plays on.
constexpr int kRetries = 5;
// Sectors in a row that can't be read (a third of a second of music) mean the
// disc or the drive went away rather than a scratch, which plays as silence.
constexpr int kGiveUpSectors = 25;
// At most this many sectors are read for one pull of the sound card, so a pull
// never holds the window events up for long.
constexpr int kSectorsPerPull = 16;
// The sound card keeps this much music queued, riding out a slow drive read.
constexpr int kBufferMs = 500;

void quietLog(cdio_log_level_t, const char*)
{
    // A machine without a drive is normal; the codes say what went wrong.
}

/// Paranoia's reads from the disc. Paranoia retries a read that fails outright
/// without end (in its plain mode, and after a seek in the others); only a disc
/// taken out ends its read. So every failed read is reported as that, and
/// CdAudioDisc::readSector decides whether to skip the sector or give up.
long readAudio(cdrom_drive_t* drive, void* buffer, lsn_t begin, long sectors)
{
    if (drive->nsectors > 0)
        sectors = std::min<long>(sectors, drive->nsectors); // as much as the drive takes at once
    QByteArray scratch; // paranoia reads without a buffer to flush the drive's cache
    if (!buffer) {
        scratch.resize(sectors * CdAudioDisc::kSectorBytes);
        buffer = scratch.data();
    }
    if (cdio_read_audio_sectors(drive->p_cdio, buffer, begin, static_cast<uint32_t>(sectors))
        == DRIVER_OP_SUCCESS)
        return sectors;
    errno = ENOMEDIUM;
    return -1;
}

QAudioFormat cdFormat()
{
    QAudioFormat format;
    format.setSampleRate(CdAudioDisc::kSampleRate);
    format.setChannelCount(CdAudioDisc::kChannels);
    format.setSampleFormat(QAudioFormat::Int16);
    return format;
}

} // namespace

// ---------------------------------------------------------------------------

std::unique_ptr<CdAudioDisc> CdAudioDisc::open(const QString& device, int* code)
{
    cdio_log_set_handler(quietLog);
    std::unique_ptr<CdAudioDisc> disc(new CdAudioDisc);
    disc->mImage = device.endsWith(QLatin1String(".cue"), Qt::CaseInsensitive);
    // An empty name opens libcdio's default drive (cdio_get_default_device).
    const QByteArray path = QFile::encodeName(device);
    disc->mCdio = cdio_open(device.isEmpty() ? nullptr : path.constData(),
                            disc->mImage ? DRIVER_BINCUE : DRIVER_DEVICE);
    if (!disc->mCdio) {
        // A missing image is an empty drive rather than a missing one.
        *code = disc->mImage ? CdDevice::kNoDisc : CdDevice::kNoDrive;
        return nullptr;
    }
    *code = CdDevice::kNoDisc;

    // The music runs from the first audio track to the lead-out, or to a data
    // track after it (the data session of an enhanced CD is no music).
    const track_t firstTrack = cdio_get_first_track_num(disc->mCdio);
    const track_t tracks = cdio_get_num_tracks(disc->mCdio);
    if (firstTrack == CDIO_INVALID_TRACK || tracks == CDIO_INVALID_TRACK)
        return nullptr;
    track_t t = firstTrack;
    while (t < firstTrack + tracks && cdio_get_track_format(disc->mCdio, t) != TRACK_FORMAT_AUDIO)
        ++t;
    if (t == firstTrack + tracks)
        return nullptr;
    disc->mFirst = cdio_get_track_lba(disc->mCdio, t);
    while (t < firstTrack + tracks && cdio_get_track_format(disc->mCdio, t) == TRACK_FORMAT_AUDIO)
        ++t;
    disc->mEnd =
        cdio_get_track_lba(disc->mCdio, t == firstTrack + tracks ? track_t(CDIO_CDROM_LEADOUT_TRACK) : t);
    if (disc->mFirst == CDIO_INVALID_LBA || disc->mEnd == CDIO_INVALID_LBA || disc->mEnd <= disc->mFirst)
        return nullptr;

    disc->mDrive = cdio_cddap_identify_cdio(disc->mCdio, CDDA_MESSAGE_FORGETIT, nullptr);
    if (!disc->mDrive || cdio_cddap_open(disc->mDrive) != 0)
        return nullptr;
    disc->mDrive->read_audio = readAudio;
    disc->mParanoia = cdio_paranoia_init(disc->mDrive);
    if (!disc->mParanoia)
        return nullptr;
    // An image holds exactly the samples of the disc it was made from: checking
    // reads against each other would only double them. A drive gets paranoia's
    // full checking against jitter and scratches, except that it may skip what
    // it can't read instead of retrying forever.
    cdio_paranoia_modeset(
        disc->mParanoia, disc->mImage ? PARANOIA_MODE_DISABLE : PARANOIA_MODE_FULL ^ PARANOIA_MODE_NEVERSKIP);
    cdio_paranoia_cachemodel_size(disc->mParanoia, disc->mImage ? kImageReadAhead : kDriveReadAhead);
    if (!disc->seek(disc->mFirst))
        return nullptr;
    *code = CdDevice::kOk;
    return disc;
}

CdAudioDisc::~CdAudioDisc()
{
    if (mParanoia)
        cdio_paranoia_free(mParanoia);
    if (mDrive)
        cdio_cddap_close_no_free_cdio(mDrive);
    if (mCdio)
        cdio_destroy(mCdio);
}

bool CdAudioDisc::seek(int frame)
{
    if (frame < mFirst || frame >= mEnd)
        return false;
    mFailedSectors = 0;
    mNext = frame;
    return cdio_paranoia_seek(mParanoia, frame - CDIO_PREGAP_SECTORS, SEEK_SET) != -1;
}

const char* CdAudioDisc::readSector()
{
    // A failed read is tried once more from the same sector.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (attempt > 0)
            cdio_paranoia_seek(mParanoia, mNext - CDIO_PREGAP_SECTORS, SEEK_SET);
        if (const int16_t* samples = cdio_paranoia_read_limited(mParanoia, nullptr, kRetries)) {
            mFailedSectors = 0;
            ++mNext;
            return reinterpret_cast<const char*>(samples);
        }
    }
    // A sector that can't be read plays as silence, until too many in a row
    // say the disc is gone.
    if (++mFailedSectors >= kGiveUpSectors)
        return nullptr;
    ++mNext;
    if (mNext < mEnd)
        cdio_paranoia_seek(mParanoia, mNext - CDIO_PREGAP_SECTORS, SEEK_SET);
    mSilence.resize(kSectorBytes, '\0');
    return mSilence.constData();
}

bool CdAudioDisc::changed() const
{
    return !mImage && cdio_get_media_changed(mCdio) == 1;
}

// ---------------------------------------------------------------------------

CdPcmSource::CdPcmSource(CdAudioDisc& disc, int fromFrame, const MasterGain* gain)
    : mDisc(disc)
    , mGain(gain)
    , mNext(fromFrame)
    , mEnd(disc.endFrame())
{
    mFailed = !mDisc.seek(fromFrame);
    open(QIODevice::ReadOnly);
}

qint64 CdPcmSource::bytesAvailable() const
{
    if (mFailed)
        return QIODevice::bytesAvailable();
    return qint64(mEnd - mNext) * CdAudioDisc::kSectorBytes + (mSector.size() - mSectorPos)
        + QIODevice::bytesAvailable();
}

qint64 CdPcmSource::readData(char* data, qint64 maxSize)
{
    qint64 n = 0;
    int sectors = 0;
    while (n < maxSize && !mFailed) {
        if (mSectorPos >= mSector.size()) {
            if (mNext >= mEnd || sectors == kSectorsPerPull)
                break;
            const char* sector = mDisc.readSector();
            if (!sector) {
                mFailed = true;
                break;
            }
            mSector.resize(CdAudioDisc::kSectorBytes);
            std::memcpy(mSector.data(), sector, CdAudioDisc::kSectorBytes);
            mSectorPos = 0;
            ++mNext;
            ++sectors;
        }
        const qint64 part = std::min<qint64>(maxSize - n, mSector.size() - mSectorPos);
        std::memcpy(data + n, mSector.constData() + mSectorPos, static_cast<size_t>(part));
        mSectorPos += part;
        n += part;
    }
    const double gain = mGain ? mGain->gain() : 1.0;
    if (gain < 1.0) {
        for (qint64 i = 0; i + 1 < n; i += 2) {
            qint16 s;
            std::memcpy(&s, data + i, 2);
            s = static_cast<qint16>(std::lround(s * gain));
            std::memcpy(data + i, &s, 2);
        }
    }
    mBytesRead += n;
    return n;
}

// ---------------------------------------------------------------------------

ParanoiaCdDevice::ParanoiaCdDevice(const QString& device, const MasterGain* gain)
    : mDevice(device)
    , mGain(gain)
{
}

ParanoiaCdDevice::~ParanoiaCdDevice()
{
    close();
}

int ParanoiaCdDevice::reach()
{
    if (mSource && mSource->failed()) {
        // The disc went away while playing: playing stops where it was heard to,
        // and the disc is opened again for the next command.
        halt();
        mDisc.reset();
    }
    if (mDisc && mDisc->changed())
        close();
    if (mDisc)
        return kOk;
    int code = kOk;
    mDisc = CdAudioDisc::open(mDevice, &code);
    if (mDisc && (mFrame < mDisc->firstFrame() || mFrame >= mDisc->endFrame()))
        mFrame = mDisc->firstFrame();
    return code;
}

int ParanoiaCdDevice::playedFrame() const
{
    // The sound card's played time, never ahead of what it was handed. The time
    // is in whole microseconds: it is rounded to the sample before sectors count.
    const qint64 samples = std::llround(mSink->processedUSecs() * (CdAudioDisc::kSampleRate / 1e6));
    const qint64 played = samples * CdAudioDisc::kChannels * 2 / CdAudioDisc::kSectorBytes;
    const qint64 handed = mSource->bytesRead() / CdAudioDisc::kSectorBytes;
    return mStart + static_cast<int>(std::min(handed, played));
}

void ParanoiaCdDevice::halt()
{
    if (!mSink)
        return;
    mFrame = playedFrame();
    mSink->stop();
    mSink.reset();
    mSource.reset();
}

int ParanoiaCdDevice::mediaPresent(bool& present)
{
    present = false;
    const int code = reach();
    if (code == kNoDisc)
        return kOk;
    present = code == kOk;
    return code;
}

int ParanoiaCdDevice::play(std::optional<int> fromFrame)
{
    if (playing() && !fromFrame && !mSource->exhausted())
        return kOk;
    halt();
    if (const int code = reach())
        return code;
    int from = mFrame;
    if (fromFrame) {
        if (*fromFrame < mDisc->firstFrame() || *fromFrame >= mDisc->endFrame())
            return kBadPosition;
        from = *fromFrame;
    } else if (from < mDisc->firstFrame() || from >= mDisc->endFrame()) {
        from = mDisc->firstFrame();
    }
    mFrame = from;

    const QAudioFormat format = cdFormat();
    const QAudioDevice output = QMediaDevices::defaultAudioOutput();
    if (output.isNull() || !output.isFormatSupported(format))
        return kHardwareError;
    mSource = std::make_unique<CdPcmSource>(*mDisc, from, mGain.data());
    if (mSource->failed()) {
        mSource.reset();
        return kHardwareError;
    }
    mStart = from;
    mSink = std::make_unique<QAudioSink>(output, format);
    mSink->setBufferSize(format.bytesForDuration(qint64(kBufferMs) * 1000));
    mSink->start(mSource.get());
    if (mSink->state() == QAudio::StoppedState || mSink->error() != QAudio::NoError) {
        mSink.reset();
        mSource.reset();
        return kHardwareError;
    }
    return kOk;
}

int ParanoiaCdDevice::pause()
{
    halt();
    return reach();
}

int ParanoiaCdDevice::position(int& frame)
{
    if (const int code = reach())
        return code;
    frame = playing() ? playedFrame() : mFrame;
    return kOk;
}

int ParanoiaCdDevice::stop()
{
    halt();
    if (const int code = reach())
        return code;
    mFrame = mDisc->firstFrame();
    return kOk;
}

int ParanoiaCdDevice::close()
{
    halt();
    mDisc.reset();
    mFrame = 0;
    return kOk;
}

} // namespace kntr
