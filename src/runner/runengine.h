#pragma once

#include <QString>

#include <vector>

namespace kntr {

class Clock;
class ControlTones;
class Editor;
class LevelSwitch;
class MessageBoxes;
class RunMusic;
class RunOptions;
class RunView;
class SettingsStore;
class VoiceCues;
class WavePlayer;
struct Session;

/// Runs a workout live next to the machine. After a countdown, at the start of
/// every segment: the music pauses, "get ready" is spoken, the segment's control
/// tone plays (once or twice), the targets are spoken, the music goes on, and the
/// engine waits for the segment's end, showing the time left. The ends are fixed
/// from the moment the countdown ends, so time lost to a cue never moves a later
/// segment. The end of the workout speaks "end of workout" and plays the stop
/// command (252, 252).
///
/// The engine runs inside the handler that started it and lets window events
/// through while it waits (Clock::wait), so Stop stays responsive. A Stop only
/// raises a flag: the sound playing is heard to its end, then at the next check
/// the music pauses and the stop command plays. Time comes from the Clock's
/// monotonic tick, so a run may cross midnight.
class RunEngine
{
public:
    struct Devices
    {
        ControlTones& tones;
        WavePlayer& player;
        VoiceCues& cues;
        RunMusic& music;
        LevelSwitch& levels;
    };

    RunEngine(Session& session, SettingsStore& settings, const RunOptions& options, Clock& clock,
              Editor& editor, Devices devices, MessageBoxes& messages, RunView& view);

    enum class Outcome {
        NotStarted, ///< the music check said no
        Cancelled,  ///< the countdown was cancelled; nothing was played
        Stopped,    ///< Stop ended the run; the stop command was played
        Completed   ///< the whole workout ran
    };

    /// The Start button while idle: runs the workout from segment 1.
    Outcome start();
    /// The Resume button: runs the workout from segment (clamped to the workout).
    Outcome resume(int segment);
    /// The Stop button, or the program asked to end: the run stops at its next check.
    void requestStop();
    /// Cancel in the countdown window: the run ends before any segment plays.
    void cancelCountdown();

    bool isRunning() const { return mActive; }
    /// The segment being run; 0 outside a run.
    int currentSegment() const { return mCurrentSegment; }

    /// "m:ss" for a time left in milliseconds; "0:00" when it is negative.
    static QString timeLeftText(qint64 ms);

    static constexpr int kStopValue = 252;
    /// The pause after a tone and the head start every segment wait ends with.
    static constexpr int kHalfSecondMs = 500;
    /// How often the waits let window events through and redraw the time left.
    static constexpr int kPollMs = 50;

private:
    Outcome run(int first, bool resumed);
    bool checkMusic(bool resumed);
    void countdown(bool resumed);
    void RunWorkOut(int first);
    void segmentTimer(int n, qint64& endMs, int first, int second);
    void playCommand(int first, int second);
    /// Carries out a requested stop once; true when the run is stopped.
    bool stopCheck();
    void ShowTimeLeft(qint64 ms);
    int tonePauseMs() const;

    Session& mSession;
    SettingsStore& mSettings;
    const RunOptions& mOptions;
    Clock& mClock;
    Editor& mEditor;
    Devices mDevices;
    MessageBoxes& mMessages;
    RunView& mView;

    bool mActive = false;
    bool mRunStopped = true;
    bool mStopRequested = false;
    bool mCancelled = false;
    int mCurrentSegment = 0;
};

} // namespace kntr
