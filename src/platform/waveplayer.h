#pragma once

#include <QByteArray>
#include <QString>

namespace kntr {

/// Plays waveform sounds: control-tone images held in memory and voice-cue clip files.
/// Starting a sound ends the one still playing.
class WavePlayer
{
public:
    virtual ~WavePlayer() = default;

    /// Plays a complete WAV image, header included, exactly as it is. With wait the
    /// call returns once the last sample has been heard; without, at once. Returns
    /// false, playing nothing, when the image or the sound output is unusable.
    virtual bool playImage(const QByteArray& image, bool wait) = 0;

    /// Plays a WAV file and returns once it has been heard. A missing or unplayable
    /// file plays nothing and gives false.
    virtual bool playFile(const QString& path) = 0;

    /// Ends the sound playing now, if any.
    virtual void stop() = 0;
};

} // namespace kntr
