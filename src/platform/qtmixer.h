#pragma once

#include "mixer.h"

namespace kntr {

class MasterGain;

/// The mixer as Kinetrova's own master gain: the level and mute apply to every
/// sound the program plays and leave the system volume alone. It opens only when
/// the system has a sound output.
class QtMixer : public Mixer {
public:
    explicit QtMixer(MasterGain& gain)
        : mGain(gain)
    {
    }

    bool open() override;
    void close() override { mOpen = false; }
    bool isOpen() const override { return mOpen; }
    unsigned minimum() const override { return 0; }
    unsigned maximum() const override;
    unsigned volume() const override;
    bool setVolume(unsigned value) override;
    bool isMuted() const override;
    bool setMuted(bool muted) override;

private:
    MasterGain& mGain;
    bool mOpen = false;
};

} // namespace kntr
