#pragma once

#include "platform/waveplayer.h"

#include <QStringList>

#include <vector>

namespace kntr {

class Clock;

/// A waveform player for tests: plays nothing, records every call with the clock's
/// time, and lets a sound take as long as it would (a waiting play just moves a
/// ManualClock on; a started one reports its end through the clock), so a whole
/// run can be checked in virtual time.
class RecordingWavePlayer : public WavePlayer {
public:
    enum class Kind { Image, File, Stop };

    struct Call {
        qint64 atMs; ///< the clock's tick count when the call came
        Kind kind;
        QByteArray image; ///< the image played (Image)
        QString path; ///< the file asked for (File)
        bool wait = false;
        bool played = false; ///< false when the sound was unusable or the player was failing
        qint64 durationMs = 0;
    };

    explicit RecordingWavePlayer(Clock& clock)
        : mClock(clock)
    {
    }

    bool playImage(const QByteArray& image, bool wait) override;
    bool playFile(const QString& path) override;
    void start(const QByteArray& image, Done done) override;
    void startFile(const QString& path, Done done) override;
    bool outputAvailable() const override { return !mFailing; }
    void stop() override;

    /// Makes every play fail, as with no sound output.
    void setFailing(bool failing) { mFailing = failing; }

    const std::vector<Call>& calls() const { return mCalls; }
    /// The file names (without folder and ".wav") of the clips played, in order.
    QStringList clipNames() const;
    /// Whether a started sound is still playing.
    bool playing() const { return mPending != 0; }
    void clear() { mCalls.clear(); }

private:
    bool play(Call call, const QByteArray& wav);
    void begin(Call call, const QByteArray& wav, Done done);
    /// Ends the running sound, telling its caller it was stopped.
    void cut();

    Clock& mClock;
    bool mFailing = false;
    std::vector<Call> mCalls;
    quint64 mPending = 0; ///< the clock's id of the running sound's end
    Done mDone;
};

} // namespace kntr
