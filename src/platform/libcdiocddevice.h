#pragma once

#include "cddevice.h"

struct _CdIo; // libcdio's CdIo_t

namespace kntr {

/// The CD device on the system's default drive, through libcdio's audio commands:
/// the drive itself plays the disc to its audio output.
class LibcdioCdDevice : public CdDevice {
public:
    LibcdioCdDevice();
    ~LibcdioCdDevice() override;
    LibcdioCdDevice(const LibcdioCdDevice&) = delete;
    LibcdioCdDevice& operator=(const LibcdioCdDevice&) = delete;

protected:
    int mediaPresent(bool& present) override;
    int play(std::optional<int> fromFrame) override;
    int pause() override;
    int position(int& frame) override;
    int stop() override;
    int close() override;

private:
    /// Opens the drive on first use and again after a disc change.
    int reach();
    /// The first audio track's start and the disc's end, in frames; false without audio.
    bool audioSpan(int& first, int& end);

    ::_CdIo* mCdio = nullptr;
    bool mPaused = false;
};

} // namespace kntr
