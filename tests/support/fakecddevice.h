#pragma once

#include "platform/cddevice.h"

#include <vector>

namespace kntr {

class Clock;

/// A CD device for tests: a scripted drive and disc whose position advances with
/// the clock while playing, recording every command with the clock's time.
class FakeCdDevice : public CdDevice {
public:
    struct Sent {
        qint64 atMs;
        QString command;
        int code;
        QString answer;
    };

    /// The disc's audio runs from 00:02:00 for the length given.
    explicit FakeCdDevice(Clock& clock, int discSeconds = 60 * 60);

    void setDrivePresent(bool present) { mDrivePresent = present; }
    void setDiscPresent(bool present);
    /// Makes every command that reaches the drive fail with the code (0 for none).
    void setFailure(int code) { mFailure = code; }

    int sendCommand(const QString& command, QString* answer = nullptr) override;

    const std::vector<Sent>& sent() const { return mSent; }
    QStringList commands() const;
    bool playing() const { return mPlaying; }
    bool isOpen() const { return mOpen; }
    /// The current disc address in frames.
    int currentFrame() const;

protected:
    int mediaPresent(bool& present) override;
    int play(std::optional<int> fromFrame) override;
    int pause() override;
    int position(int& frame) override;
    int stop() override;
    int close() override;

private:
    int reach();
    void settle();

    Clock& mClock;
    int mStartFrame;
    int mEndFrame;
    bool mDrivePresent = true;
    bool mDiscPresent = true;
    int mFailure = 0;
    bool mOpen = false;
    bool mPlaying = false;
    int mFrame; ///< position when not playing, or where playing started
    qint64 mPlayStartMs = 0;
    std::vector<Sent> mSent;
};

} // namespace kntr
