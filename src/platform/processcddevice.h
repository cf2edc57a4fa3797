#pragma once

#include "cddevice.h"

#include <QElapsedTimer>
#include <QMetaObject>

namespace kntr {

class MusicProcess;

/// The CD device of a live run, driven in the music process (which makes it
/// with makeCdDevice), with the same commands and codes.
///
/// "status cdaudio media present" (asked before a run) waits for the answer, a
/// few seconds at most, and starts a fresh music process after a failed one.
/// Every other command is written and not waited for: it answers kOk, and
/// "status cdaudio position" answers from the position last reported, carried
/// forward while playing. Commands other than "play" do not start the music
/// process. Once it has failed, commands do nothing and the position is an error.
class ProcessCdDevice : public CdDevice {
public:
    static constexpr int kAnswerMs = 5000;

    /// The process, shared with the play-list player, must outlive the device.
    explicit ProcessCdDevice(MusicProcess& process);
    ~ProcessCdDevice() override;
    ProcessCdDevice(const ProcessCdDevice&) = delete;
    ProcessCdDevice& operator=(const ProcessCdDevice&) = delete;

protected:
    int mediaPresent(bool& present) override;
    int play(std::optional<int> fromFrame) override;
    int pause() override;
    int position(int& frame) override;
    int stop() override;
    int close() override;

private:
    qint64 sendCd(const QString& command);
    int currentFrame() const;
    void takeStatus();

    MusicProcess& mProcess;
    QMetaObject::Connection mStatusConnection;
    int mCode = -1; ///< of the latest position; -1 while none is known
    int mFrame = 0; ///< at mSince
    bool mPlaying = false;
    QElapsedTimer mSince;
};

} // namespace kntr
