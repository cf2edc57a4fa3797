#pragma once

namespace kntr {

/// The mixer the volume window works: one master volume and one mute switch for
/// everything Kinetrova plays.
class Mixer {
public:
    virtual ~Mixer() = default;

    /// Opens the mixer; false when there is no sound output to control.
    virtual bool open() = 0;
    /// Releases the mixer; the level it was left at stays in force.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    /// The bounds of the master volume control.
    virtual unsigned minimum() const = 0;
    virtual unsigned maximum() const = 0;

    /// The master volume; 0 when the mixer is not open.
    virtual unsigned volume() const = 0;
    /// Sets the master volume, clamped to the bounds; false when the mixer is not open.
    virtual bool setVolume(unsigned value) = 0;

    /// Whether the master mute is on; false when the mixer is not open.
    virtual bool isMuted() const = 0;
    /// Switches the master mute; false when the mixer is not open.
    virtual bool setMuted(bool muted) = 0;
};

} // namespace kntr
