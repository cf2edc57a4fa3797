#include "libcdiocddevice.h"

#include <cdio/cdio.h>
#include <cdio/audio.h>
#include <cdio/logging.h>
#include <cdio/mmc.h>

namespace kntr {

namespace {

void quietLog(cdio_log_level_t, const char*)
{
    // A machine without a drive is normal; the codes say what went wrong.
}

msf_t toMsf(int frames)
{
    msf_t msf;
    cdio_lba_to_msf(frames, &msf);
    return msf;
}

} // namespace

LibcdioCdDevice::LibcdioCdDevice()
{
    cdio_log_set_handler(quietLog);
}

LibcdioCdDevice::~LibcdioCdDevice()
{
    if (mCdio)
        cdio_destroy(mCdio);
}

int LibcdioCdDevice::reach()
{
    if (mCdio && cdio_get_media_changed(mCdio) == 1) {
        cdio_destroy(mCdio);
        mCdio = nullptr;
        mPaused = false;
    }
    if (!mCdio)
        mCdio = cdio_open(nullptr, DRIVER_DEVICE);
    return mCdio ? kOk : kNoDrive;
}

bool LibcdioCdDevice::audioSpan(int& first, int& end)
{
    const track_t firstTrack = cdio_get_first_track_num(mCdio);
    const track_t tracks = cdio_get_num_tracks(mCdio);
    if (firstTrack == CDIO_INVALID_TRACK || tracks == CDIO_INVALID_TRACK)
        return false;
    for (track_t t = firstTrack; t < firstTrack + tracks; ++t) {
        if (cdio_get_track_format(mCdio, t) != TRACK_FORMAT_AUDIO)
            continue;
        msf_t start, leadout;
        if (!cdio_get_track_msf(mCdio, t, &start)
            || !cdio_get_track_msf(mCdio, CDIO_CDROM_LEADOUT_TRACK, &leadout))
            return false;
        first = cdio_msf_to_lba(&start);
        end = cdio_msf_to_lba(&leadout);
        return first != CDIO_INVALID_LBA && end != CDIO_INVALID_LBA && end > first;
    }
    return false;
}

int LibcdioCdDevice::mediaPresent(bool& present)
{
    present = false;
    if (const int code = reach())
        return code;
    int first = 0, end = 0;
    present = audioSpan(first, end);
    return kOk;
}

int LibcdioCdDevice::play(std::optional<int> fromFrame)
{
    if (const int code = reach())
        return code;
    int first = 0, end = 0;
    if (!audioSpan(first, end))
        return kNoDisc;
    if (!fromFrame && mPaused) {
        mPaused = false;
        return cdio_audio_resume(mCdio) == DRIVER_OP_SUCCESS ? kOk : kHardwareError;
    }
    int from = first;
    if (fromFrame) {
        if (*fromFrame < first || *fromFrame >= end)
            return kBadPosition;
        from = *fromFrame;
    } else if (int now = 0; position(now) == kOk && now > first && now < end) {
        from = now;
    }
    msf_t start = toMsf(from);
    msf_t stopAt = toMsf(end - 1);
    mPaused = false;
    return cdio_audio_play_msf(mCdio, &start, &stopAt) == DRIVER_OP_SUCCESS ? kOk : kHardwareError;
}

int LibcdioCdDevice::pause()
{
    if (const int code = reach())
        return code;
    const driver_return_code_t rc = cdio_audio_pause(mCdio);
    if (rc == DRIVER_OP_SUCCESS)
        mPaused = true;
    return rc == DRIVER_OP_SUCCESS ? kOk : kHardwareError;
}

int LibcdioCdDevice::position(int& frame)
{
    if (const int code = reach())
        return code;
    cdio_subchannel_t sub;
    if (cdio_audio_read_subchannel(mCdio, &sub) != DRIVER_OP_SUCCESS) {
        int first = 0, end = 0;
        return audioSpan(first, end) ? kHardwareError : kNoDisc;
    }
    const lba_t lba = cdio_msf_to_lba(&sub.abs_addr);
    frame = lba == CDIO_INVALID_LBA ? 0 : lba;
    return kOk;
}

int LibcdioCdDevice::stop()
{
    if (const int code = reach())
        return code;
    mPaused = false;
    const driver_return_code_t rc = cdio_audio_stop(mCdio);
    if (rc == DRIVER_OP_SUCCESS)
        return kOk;
    int first = 0, end = 0;
    return audioSpan(first, end) ? kHardwareError : kNoDisc;
}

int LibcdioCdDevice::close()
{
    if (mCdio) {
        // A released drive should not play on by itself.
        cdio_subchannel_t sub;
        if (cdio_audio_read_subchannel(mCdio, &sub) == DRIVER_OP_SUCCESS
            && (sub.audio_status == CDIO_MMC_READ_SUB_ST_PLAY
                || sub.audio_status == CDIO_MMC_READ_SUB_ST_PAUSED))
            cdio_audio_stop(mCdio);
        cdio_destroy(mCdio);
        mCdio = nullptr;
    }
    mPaused = false;
    return kOk;
}

} // namespace kntr
