#pragma once

#include "waveplayer.h"

#include <QObject>
#include <QPointer>

#include <memory>

class QAudioSink;
class QTimer;

namespace kntr {

class Clock;
class MasterGain;
class PcmSource;

/// The waveform player on the sound card, through Qt Multimedia's QAudioSink.
///
/// A sound is opened in its own format (44,100 Hz 16-bit for control tones,
/// 22,050 Hz mono for clips) so its samples reach the device unaltered; the only
/// change is the master gain, which leaves them alone at the full level. A sound
/// counts as finished when the device's played position has passed its last
/// sample, not when the sink has merely taken all data (that comes 100-180 ms
/// before the end is heard).
class QtWavePlayer : public QObject, public WavePlayer {
    Q_OBJECT

public:
    /// The blocking calls wait through the clock, which keeps window events
    /// flowing; start() waits for nothing. The gain may be null (full level).
    explicit QtWavePlayer(Clock& clock, const MasterGain* gain = nullptr, QObject* parent = nullptr);
    ~QtWavePlayer() override;

    bool playImage(const QByteArray& image, bool wait) override;
    bool playFile(const QString& path) override;
    void start(const QByteArray& image, Done done) override;
    void startFile(const QString& path, Done done) override;
    bool outputAvailable() const override;
    void stop() override;

    /// Whether a sound is still being played.
    bool isPlaying() const;

private:
    /// Opens the sink for the image and starts it; Unplayable or OutputLost
    /// when that fails, Heard when it is playing.
    Result begin(const QByteArray& image);
    bool waitFor(quint64 sound);
    bool finished();
    void poll();
    /// Ends the sound and reports result to whoever started it with start().
    void end(Result result);

    Clock& mClock;
    QPointer<const MasterGain> mGain;
    std::unique_ptr<PcmSource> mSource;
    std::unique_ptr<QAudioSink> mSink;
    QTimer* mPollTimer = nullptr;
    qint64 mDurationUs = 0;
    qint64 mDeadlineMs = 0; ///< when the sound is over even if the device never says so
    qint64 mPlayedOutMs = -1; ///< when the device first reported the last sample played
    quint64 mSound = 0; ///< counts sounds, so a wait notices a newer one
    Done mDone; ///< the caller of start() waiting for this sound
};

} // namespace kntr
