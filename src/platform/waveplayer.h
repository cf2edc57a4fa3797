#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace kntr {

/// Plays waveform sounds: control-tone images held in memory and voice-cue clip files.
/// Starting a sound ends the one still playing.
class WavePlayer {
public:
    /// How a sound started with start() ended.
    enum class Result {
        Heard, ///< its last sample has been heard
        Unplayable, ///< the image or file was unusable: nothing was played
        Stopped, ///< stop() or a newer sound cut it off
        OutputLost ///< there is no sound output, or it went away while playing
    };
    using Done = std::function<void(Result)>;

    virtual ~WavePlayer() = default;

    /// Plays a complete WAV image, header included, exactly as it is. With wait the
    /// call returns once the last sample has been heard; without, at once. Returns
    /// false, playing nothing, when the image or the sound output is unusable.
    virtual bool playImage(const QByteArray& image, bool wait) = 0;

    /// Plays a WAV file and returns once it has been heard. A missing or unplayable
    /// file plays nothing and gives false.
    virtual bool playFile(const QString& path) = 0;

    /// Starts a WAV image and returns at once; done is called once from the event
    /// loop when the sound has ended, never from inside this call.
    virtual void start(const QByteArray& image, Done done) = 0;
    /// The same for a WAV file.
    virtual void startFile(const QString& path, Done done) = 0;

    /// Whether a sound output is there to play through now.
    virtual bool outputAvailable() const = 0;

    /// Ends the sound playing now, if any.
    virtual void stop() = 0;
};

} // namespace kntr
