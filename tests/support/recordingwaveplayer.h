#pragma once

#include "platform/waveplayer.h"

#include <QStringList>

#include <vector>

namespace kntr {

class Clock;

/// A waveform player for tests: plays nothing, records every call with the clock's
/// time, and lets a waiting play take as long as the sound would (a ManualClock
/// just moves on), so a whole run can be checked in virtual time.
class RecordingWavePlayer : public WavePlayer
{
public:
    enum class Kind { Image, File, Stop };

    struct Call
    {
        qint64 atMs;          ///< the clock's tick count when the call came
        Kind kind;
        QByteArray image;     ///< the image played (Image)
        QString path;         ///< the file asked for (File)
        bool wait = false;
        bool played = false;  ///< false when the sound was unusable or the player was failing
        qint64 durationMs = 0;
    };

    explicit RecordingWavePlayer(Clock& clock) : mClock(clock) {}

    bool playImage(const QByteArray& image, bool wait) override;
    bool playFile(const QString& path) override;
    void stop() override;

    /// Makes every play fail, as with no sound output.
    void setFailing(bool failing) { mFailing = failing; }

    const std::vector<Call>& calls() const { return mCalls; }
    /// The file names (without folder and ".wav") of the clips played, in order.
    QStringList clipNames() const;
    void clear() { mCalls.clear(); }

private:
    bool play(Call call, const QByteArray& wav);

    Clock& mClock;
    bool mFailing = false;
    std::vector<Call> mCalls;
};

} // namespace kntr
