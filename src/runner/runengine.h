#pragma once

#include "runview.h"

#include "model/targettexts.h"
#include "platform/clock.h"
#include "platform/waveplayer.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace kntr {

class ControlTones;
class LevelSwitch;
class MessageBoxes;
class RunMusic;
class RunOptions;
class SettingsStore;
class VoiceCues;
struct Session;

/// Runs a workout live next to the machine. After a countdown, at the start of
/// every segment: the music pauses, "get ready" is spoken, the segment's control
/// tone plays (once or twice), the targets are spoken, the music goes on, and the
/// engine waits for the segment's end, showing the time left. The ends are fixed
/// from the moment the countdown ends, so time lost to a cue never moves a later
/// segment. The end of the workout speaks "end of workout" and plays the stop
/// command (252, 252).
///
/// The engine is driven by events: the clock's timed calls and the player's word
/// that a sound has ended. start() returns at once and nothing ever waits inside
/// the engine, so a dialog opened during a run (with its own event loop) holds
/// no tone back, and the view hears of the end through RunView::runEnded.
///
/// Stop is carried out at once: a wait or a spoken cue is cut short, a control
/// tone being played is heard to its end (a command cut in half would confuse
/// the console), and any sound not yet started is dropped; then the music pauses
/// and the stop command plays. Everything sent or spoken comes from the
/// session's workout and machine, never from what a window shows. Should the
/// sound output go away, the engine follows a new default output that appears
/// within two seconds and otherwise ends the run, saying so.
class RunEngine {
public:
    using Outcome = RunOutcome;

    struct Devices {
        ControlTones& tones;
        WavePlayer& player; ///< the engine's own: nothing else may start or stop its sounds
        VoiceCues& cues;
        RunMusic& music;
        LevelSwitch& levels;
    };

    RunEngine(Session& session, SettingsStore& settings, const RunOptions& options, Clock& clock,
              Devices devices, MessageBoxes& messages, RunView& view);
    ~RunEngine();
    RunEngine(const RunEngine&) = delete;
    RunEngine& operator=(const RunEngine&) = delete;

    /// The Start button while idle: begins a run from segment 1. False when no
    /// run began (one is on, or the music check said no).
    bool start();
    /// The Resume button: begins a run from segment (clamped to the workout).
    bool resume(int segment);
    /// The Stop button, or the program asked to end: the stop command follows
    /// at once (after a control tone being played).
    void requestStop();
    /// Cancel in the countdown window: the run ends before any segment plays.
    void cancelCountdown();
    /// The music could not go on (its player failed): the run goes on without it.
    void musicFailed(const QString& entry);

    bool isRunning() const { return mActive; }
    /// The segment being run; 0 outside a run.
    int currentSegment() const { return mCurrentSegment; }
    /// How the last run ended, and why when the sound output was lost.
    Outcome outcome() const { return mOutcome; }
    const QString& problem() const { return mProblem; }

    /// "m:ss" for a time left in milliseconds; "0:00" when it is negative.
    static QString timeLeftText(qint64 ms);
    /// The message for a run ended by a lost sound output during segment.
    static QString outputLostText(int segment);
    /// The note for music that stopped on entry (a file name, or "the CD").
    static QString musicStoppedText(const QString& entry);

    static constexpr int kStopValue = 252;
    /// The pause after a tone and the head start every segment wait ends with.
    static constexpr int kHalfSecondMs = 500;
    /// How often the countdown is redrawn.
    static constexpr int kPollMs = 50;
    /// How often the time left is redrawn while a segment runs.
    static constexpr int kShowEveryMs = 200;
    /// The least silence between a tone heard to its end and the stop command.
    static constexpr int kStopGapMs = 100;
    /// How long a lost sound output may take to come back.
    static constexpr int kOutputGraceMs = 2000;

private:
    using Step = std::function<void()>;
    enum class Phase { Idle, Countdown, Running, Stopping };
    enum class Waiting { Nothing, Timer, Tone, Clip };

    bool begin(int first, bool resumed);
    bool checkMusic(bool resumed);
    void countdownPass();
    void startSegments();
    /// Queues the steps of one segment start (n = 0: the end of the workout).
    void queueSegment(int n);
    void queueEnd();
    void queueStop();
    /// Queues a command at the tone level, played once or twice.
    void queueCommand(int first, int second);

    /// Runs queued steps until one has to wait, or none is left.
    void next();
    void then(Step step) { mSteps.push_back(std::move(step)); }
    void waitMs(qint64 ms);
    /// Waits for tick endMs, redrawing the time left until then.
    void waitShowing(qint64 endMs);
    void playTone(const QByteArray& tone);
    void playClip(const QString& word);
    void soundEnded(quint64 generation, Waiting kind, WavePlayer::Result result, const Step& again);
    void outputLost(const Step& again);
    void finish(Outcome outcome);
    /// Makes every pending timer and sound report stale.
    void dropPending();

    /// A callback that does nothing once the engine is gone.
    template<typename F> auto guarded(F f) const
    {
        return [alive = std::weak_ptr<const int>(mAlive), f = std::move(f)](auto&&... args) {
            if (!alive.expired())
                f(std::forward<decltype(args)>(args)...);
        };
    }

    void showTimeLeft(qint64 ms);
    int tonePauseMs() const;
    QByteArray tone(int first, int second) const;

    Session& mSession;
    SettingsStore& mSettings;
    const RunOptions& mOptions;
    Clock& mClock;
    Devices mDevices;
    MessageBoxes& mMessages;
    RunView& mView;

    Phase mPhase = Phase::Idle;
    bool mActive = false;
    bool mResumed = false;
    bool mStopRequested = false;
    int mFirst = 1;
    int mCurrentSegment = 0;
    Outcome mOutcome = Outcome::NotStarted;
    QString mProblem;
    SpeedDisplay mDisplay = SpeedDisplay::Value;

    std::deque<Step> mSteps;
    Waiting mWaiting = Waiting::Nothing;
    quint64 mGeneration = 0; ///< bumped whenever pending calls go stale
    Clock::TimerId mTimer = 0;
    qint64 mCountdownEndMs = 0;
    std::vector<qint64> mEnds; ///< each segment's scheduled end, ticks
    qint64 mEndMs = 0; ///< the end of the segment running, as adjusted
    qint64 mCueStartMs = 0;
    qint64 mStopAskedMs = 0;
    qint64 mLostSinceMs = -1; ///< when the output went, while waiting for it
    std::shared_ptr<const int> mAlive = std::make_shared<const int>(0);
};

} // namespace kntr
