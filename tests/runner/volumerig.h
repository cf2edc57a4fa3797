#pragma once

// The sound levels and the volume window's model with every device they use as a test double, the mixer
// found at 40000 and unmuted.

#include "runner/soundlevels.h"
#include "runner/volumewindowmodel.h"

#include "fakecddevice.h"
#include "fakemixer.h"
#include "manualclock.h"
#include "model/machine.h"
#include "platform/memorysettingsstore.h"
#include "recordingwaveplayer.h"
#include "scriptedmessageboxes.h"
#include "tones/controltones.h"
#include "tones/voicecues.h"

namespace kntr::test {

struct VolumeRig {
    VolumeRig() { mixer.preset(40000, false); }

    ManualClock clock;
    FakeMixer mixer{clock};
    MemorySettingsStore settings;
    FakeCdDevice cd{clock};
    RecordingWavePlayer player{clock};
    Machine machine;
    ControlTones tones{machine};
    VoiceCues cues{QStringLiteral("/nonexistent")};
    ScriptedMessageBoxes messages;
    SoundLevels sound{mixer, settings, messages};
    VolumeWindowModel levels{sound, cd, player, tones, cues, clock, messages};
};

} // namespace kntr::test
