#pragma once

#include "platform/mastergain.h"
#include "platform/musicprocess.h"
#include "platform/processcddevice.h"
#include "platform/processmediaplayer.h"
#include "platform/qtmixer.h"
#include "platform/qtwaveplayer.h"
#include "runner/soundlevels.h"
#include "tones/controltones.h"
#include "tones/mcicommands.h"
#include "tones/voicecues.h"

namespace kntr {

class AppPaths;
class Clock;
class Machine;
class MessageBoxes;
class SettingsStore;

/// Call before the application object exists: picks Qt's ffmpeg media backend,
/// which starts and stops sound promptly, and keeps its debug chatter (codec
/// lists, decoder notes) off the terminal unless QT_LOGGING_RULES asks for it.
void prepareSoundBackend();

/// The sound card, the CD drive and what plays through them, as a live run
/// uses them: one set for the desktop program or the headless runner.
class SoundDevices {
public:
    /// cdDevice names the drive or BIN/CUE image CD music comes from; empty is
    /// the system's default drive.
    SoundDevices(Clock& clock, SettingsStore& settings, const AppPaths& paths, const Machine& machine,
                 MessageBoxes& messages, const QString& cdDevice = QString());
    ~SoundDevices();

    MasterGain& gain() { return mGain; }
    QtMixer& mixer() { return mMixer; }
    /// The player of the volume window's tests.
    WavePlayer& player() { return mPlayer; }
    /// The live run's own player: no other sound can cut one of the run's short.
    WavePlayer& runPlayer() { return mRunPlayer; }
    ControlTones& tones() { return mTones; }
    VoiceCues& cues() { return mCues; }
    CdDevice& cd() { return mCd; }
    MciCommands& mci() { return mMci; }
    MediaPlayer& mediaPlayer() { return mMediaPlayer; }
    SoundLevels& levels() { return mLevels; }

    /// Called once when the music process fails during a run, with what was
    /// playing (a play-list entry's file name, or "the CD").
    void setMusicFailureHandler(std::function<void(const QString& what)> handler);
    /// The play-list entries the last play-list load left out, with the reasons.
    const std::vector<SkippedEntry>& skippedMusic() const { return mMediaPlayer.skippedEntries(); }

    /// At exit: the main level back, the CD stopped and released, the music process ended.
    void release();

private:
    MasterGain mGain;
    QtMixer mMixer;
    QtWavePlayer mPlayer;
    QtWavePlayer mRunPlayer;
    ControlTones mTones;
    VoiceCues mCues;
    MusicProcess mMusic;
    ProcessCdDevice mCd;
    MciCommands mMci;
    ProcessMediaPlayer mMediaPlayer;
    SoundLevels mLevels;
};

} // namespace kntr
