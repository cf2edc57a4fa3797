#pragma once

#include "mp3buildoptions.h"
#include "wavebuildoptions.h"

#include "model/units.h"

namespace kntr {

class SettingsStore;

/// The builder's stored preferences ("RecordPref") and the run options it
/// shares with the main window ("VoiceCues", "Beeps").
struct RecordingPreferences {
    bool voiceCues = true;
    bool oneFilePerSegment = false;
    bool stereo = true; ///< for WAV workouts without music
    int mp3BitRate = 128; ///< 64, 96 or 128 kbit/s, for MP3 workouts without music
    int beeps = 1;
    bool chapters = false; ///< chapter marks, one per segment, in WAV and MP3 workouts

    /// Reads the preferences in the order "VoiceCues", "OneFilePerSeg", "WaveType",
    /// "MP3BitRate", "Beeps", then "ChapterMarks". A stored bit-rate choice outside 0 to 2 keeps
    /// previousBitRate.
    static RecordingPreferences read(const SettingsStore& settings, int previousBitRate = 128);

    /// Stores "OneFilePerSeg", "WaveType", "MP3BitRate" and "ChapterMarks", as the preferences
    /// window's Save does.
    void save(SettingsStore& settings) const;

    WaveBuildOptions waveOptions(Units units) const;
    Mp3BuildOptions mp3Options(Units units) const;
};

} // namespace kntr
