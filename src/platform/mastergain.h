#pragma once

#include <QObject>

namespace kntr {

/// The application's master level and mute, applied as a gain to every sound
/// Kinetrova plays (tones, clips, music) without touching the system volume.
/// One object lives for the whole program and is handed to every player.
class MasterGain : public QObject {
    Q_OBJECT

public:
    static constexpr unsigned kMaximum = 65535;

    using QObject::QObject;

    /// The level, 0 (silent) to 65535 (samples unaltered).
    unsigned level() const { return mLevel; }
    void setLevel(unsigned level);
    bool muted() const { return mMuted; }
    void setMuted(bool muted);

    /// The factor samples are multiplied by: 0 when muted, exactly 1 at the full
    /// level, and between them a curve that sounds even across the level's range.
    double gain() const;

signals:
    void changed();

private:
    unsigned mLevel = kMaximum;
    bool mMuted = false;
};

} // namespace kntr
