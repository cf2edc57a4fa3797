#include "qtwaveplayer.h"

#include "clock.h"
#include "mastergain.h"
#include "wavimage.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QFile>
#include <QMediaDevices>
#include <QTimer>

#include <cmath>
#include <cstring>

namespace kntr {

namespace {

// How long past its expected end a sound may run before it counts as finished
// regardless, should the device stop reporting its position.
constexpr qint64 kDeadlineSlackMs = 1000;
// The played position is interpolated between the server's reports and can run a
// few milliseconds ahead of the speaker: a sound ends this long after it says so.
constexpr qint64 kHeardMarginMs = 40;
constexpr int kPollMs = 5;

} // namespace

/// Hands one sound's samples to the sink, scaled by the master gain when it is below 1.
class PcmSource : public QIODevice {
public:
    PcmSource(WavImage wav, const MasterGain* gain)
        : mWav(std::move(wav))
        , mGain(gain)
    {
        open(QIODevice::ReadOnly);
    }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override
    {
        return mWav.samples.size() - mPos + QIODevice::bytesAvailable();
    }
    bool exhausted() const { return mPos >= mWav.samples.size(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>(maxSize, mWav.samples.size() - mPos);
        if (n <= 0)
            return 0;
        std::memcpy(data, mWav.samples.constData() + mPos, static_cast<size_t>(n));
        mPos += n;
        const double gain = mGain ? mGain->gain() : 1.0;
        if (gain < 1.0)
            scale(data, n, gain);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void scale(char* data, qint64 n, double gain) const
    {
        if (mWav.bitsPerSample == 16) {
            for (qint64 i = 0; i + 1 < n; i += 2) {
                qint16 s;
                std::memcpy(&s, data + i, 2);
                s = static_cast<qint16>(std::lround(s * gain));
                std::memcpy(data + i, &s, 2);
            }
        } else {
            for (qint64 i = 0; i < n; ++i) {
                const int s = static_cast<unsigned char>(data[i]) - 128;
                data[i] = static_cast<char>(std::lround(s * gain) + 128);
            }
        }
    }

    WavImage mWav;
    const MasterGain* mGain;
    qint64 mPos = 0;
};

QtWavePlayer::QtWavePlayer(Clock& clock, const MasterGain* gain, QObject* parent)
    : QObject(parent)
    , mClock(clock)
    , mGain(gain)
    , mPollTimer(new QTimer(this))
{
    mPollTimer->setInterval(kPollMs);
    connect(mPollTimer, &QTimer::timeout, this, &QtWavePlayer::poll);
}

QtWavePlayer::~QtWavePlayer()
{
    mDone = nullptr; // whoever waits goes with the player
    end(Result::Stopped);
}

bool QtWavePlayer::playImage(const QByteArray& image, bool wait)
{
    stop();
    if (begin(image) != Result::Heard)
        return false;
    if (wait)
        waitFor(mSound);
    return true;
}

bool QtWavePlayer::playFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        stop();
        return false;
    }
    return playImage(file.readAll(), true);
}

void QtWavePlayer::start(const QByteArray& image, Done done)
{
    stop();
    const Result result = begin(image);
    if (result == Result::Heard) {
        mDone = std::move(done);
        return;
    }
    // Never from inside the call: the caller may not be ready for its answer yet.
    if (done)
        mClock.callAfter(0, [done = std::move(done), result] { done(result); });
}

void QtWavePlayer::startFile(const QString& path, Done done)
{
    QFile file(path);
    start(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), std::move(done));
}

bool QtWavePlayer::outputAvailable() const
{
    return !QMediaDevices::defaultAudioOutput().isNull();
}

WavePlayer::Result QtWavePlayer::begin(const QByteArray& image)
{
    std::optional<WavImage> wav = WavImage::parse(image);
    if (!wav || wav->samples.isEmpty())
        return Result::Unplayable;

    QAudioFormat format;
    format.setSampleRate(wav->sampleRate);
    format.setChannelCount(wav->channels);
    format.setSampleFormat(wav->bitsPerSample == 16 ? QAudioFormat::Int16 : QAudioFormat::UInt8);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return Result::OutputLost;
    if (!device.isFormatSupported(format))
        return Result::Unplayable;

    ++mSound;
    mDurationUs = wav->durationUs();
    mSource = std::make_unique<PcmSource>(std::move(*wav), mGain.data());
    mSink = std::make_unique<QAudioSink>(device, format);
    mSink->start(mSource.get());
    if (mSink->state() == QAudio::StoppedState || mSink->error() != QAudio::NoError) {
        stop();
        return Result::OutputLost;
    }
    const qint64 bufferMs = format.durationForBytes(mSink->bufferSize()) / 1000;
    mDeadlineMs = mClock.tickMs() + mDurationUs / 1000 + bufferMs + kDeadlineSlackMs;
    mPlayedOutMs = -1;
    mPollTimer->start();
    return Result::Heard;
}

bool QtWavePlayer::waitFor(quint64 sound)
{
    // Stop (a window event handled while waiting) or a newer sound ends the wait.
    while (mSound == sound && mSink && !finished())
        mClock.wait(kPollMs);
    if (mSound != sound)
        return false;
    stop();
    return true;
}

bool QtWavePlayer::finished()
{
    if (!mSink)
        return true;
    if (mSink->state() == QAudio::StoppedState)
        return true; // the device failed or went away
    const qint64 now = mClock.tickMs();
    if (now >= mDeadlineMs)
        return true;
    if (!mSource->exhausted())
        return false;
    // The sink reports the device's played position; it reaches the sound's
    // length once the last sample has been played.
    if (mPlayedOutMs < 0 && mSink->processedUSecs() >= mDurationUs)
        mPlayedOutMs = now;
    return mPlayedOutMs >= 0 && now >= mPlayedOutMs + kHeardMarginMs;
}

void QtWavePlayer::poll()
{
    if (!finished())
        return;
    // A sink that stopped with an error, or that never played the sound out
    // by its deadline, has lost its output: what it played was not heard.
    const bool lost = !mSink || mSink->error() != QAudio::NoError || mPlayedOutMs < 0;
    end(lost ? Result::OutputLost : Result::Heard);
}

void QtWavePlayer::end(Result result)
{
    mPollTimer->stop();
    if (mSink) {
        mSink->stop();
        mSink.reset();
    }
    mSource.reset();
    if (Done done = std::move(mDone)) {
        mDone = nullptr;
        done(result);
    }
}

void QtWavePlayer::stop()
{
    Done done = std::move(mDone);
    mDone = nullptr;
    end(Result::Stopped);
    if (done)
        mClock.callAfter(0, [done = std::move(done)] { done(Result::Stopped); });
}

bool QtWavePlayer::isPlaying() const
{
    return mSink != nullptr;
}

} // namespace kntr
