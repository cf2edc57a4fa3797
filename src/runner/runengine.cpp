#include "runengine.h"

#include "levelswitch.h"
#include "runmusic.h"

#include "model/storedsettings.h"
#include "model/numbers.h"
#include "model/runoptions.h"
#include "model/session.h"
#include "model/totals.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"
#include "tones/controltones.h"
#include "tones/voicecues.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace kntr {

namespace {

using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

const QString kCdMissing =
    QStringLiteral("CD not present or unplayable.\r\n\r\n"
                   "To stop the workout press OK, to continue the workout without a CD press CANCEL");
const QString kPlayListMissing = QStringLiteral(
    "One of the following errors occurred: \r\r - Playlist file (*.asx) is missing or not valid\r"
    " - Playlist file has unsupported ID3v2 tags, \r"
    " - Windows Media Player 6.4 or higher not found. \r\r"
    "Workout Audio menu option reset to No Music.");

/// How often a lost sound output is looked for again.
constexpr int kOutputCheckMs = 250;

} // namespace

RunEngine::RunEngine(Session& session, SettingsStore& settings, const RunOptions& options, Clock& clock,
                     Devices devices, MessageBoxes& messages, RunView& view)
    : mSession(session)
    , mSettings(settings)
    , mOptions(options)
    , mClock(clock)
    , mDevices(devices)
    , mMessages(messages)
    , mView(view)
{
}

RunEngine::~RunEngine()
{
    dropPending();
}

QString RunEngine::timeLeftText(qint64 ms)
{
    return ms < 0 ? QStringLiteral("0:00") : minutesSecondsText(ms / 1000.0);
}

QString RunEngine::outputLostText(int segment)
{
    return QStringLiteral(
               "Sound output was lost during segment %1. The machine is no longer receiving commands.")
        .arg(segment);
}

QString RunEngine::musicStoppedText(const QString& entry)
{
    return QStringLiteral("Music stopped: %1 could not be played.").arg(entry);
}

bool RunEngine::start()
{
    return begin(1, false);
}

bool RunEngine::resume(int segment)
{
    return begin(std::clamp(segment, 1, std::max(1, mSession.workout.count())), true);
}

bool RunEngine::checkMusic(bool resumed)
{
    RunMusic& music = mDevices.music;
    const int type = music.audioType();
    if (type == RunMusic::kCd || type == RunMusic::kCdVariant) {
        if (!music.cdPresent()) {
            if (mMessages.show(kCdMissing, Icon::Question, Buttons::OkCancel) != Answer::Cancel)
                return false;
            music.SetAudioType(RunMusic::kNone);
        }
    } else if (type == RunMusic::kPlayList) {
        // Loaded before the run begins, so that nothing during the run waits for it.
        if (resumed) {
            music.reloadPlayList();
        } else if (!music.loadPlayList()) {
            music.SetAudioType(RunMusic::kNone);
            mMessages.show(kPlayListMissing, Icon::Exclamation);
            return false;
        }
    }
    return true;
}

bool RunEngine::begin(int first, bool resumed)
{
    if (mActive || mSession.workout.count() < 1)
        return false;
    mOutcome = Outcome::NotStarted;
    mProblem.clear();
    if (!checkMusic(resumed)) {
        mView.runEnded(Outcome::NotStarted, QString());
        return false;
    }
    if (!resumed)
        mView.selectSegment(1);

    // Run mode.
    mActive = true;
    mResumed = resumed;
    mFirst = first;
    mStopRequested = false;
    mCurrentSegment = 0;
    mLostSinceMs = -1;
    mDisplay = speedDisplay(mSession.machine, mSettings);
    mPhase = Phase::Countdown;
    mView.setRunMode(true);
    mDevices.levels.setRunMode(true);

    mView.showCountdown(QStringLiteral("Starting Audio..."), QString());
    mDevices.music.startMusic(resumed);
    mCountdownEndMs = mClock.tickMs() + qint64(mOptions.delaySeconds()) * 1000;
    for (const QString& note : mDevices.music.takeNotes())
        mView.showNote(note);
    countdownPass();
    return true;
}

void RunEngine::countdownPass()
{
    mTimer = 0;
    mWaiting = Waiting::Nothing;
    const qint64 now = mClock.tickMs();
    if (now > mCountdownEndMs) {
        mView.endCountdown();
        startSegments();
        return;
    }
    const QString instructions = mResumed
        ? QStringLiteral("VEXA treadmills:\rPress START on Console if in VEXA mode or\r"
                         "press PROGRAM to start VEXA mode.")
        : QStringLiteral("VEXA treadmills:\rPress PROGRAM on Treadmill Console to start.");
    const qint64 leftMs = mCountdownEndMs - now;
    const double remaining = roundHalfEven(leftMs / 1000.0);
    const QString n = QString::number((leftMs + 500) / 1000);
    if (remaining > 1)
        mView.showCountdown(
            (mResumed ? QStringLiteral("Workout resumes in\r") : QStringLiteral("Workout starts in\r\n")) + n
                + (mResumed ? QStringLiteral(" seconds...") : QStringLiteral(" seconds")),
            instructions);
    else if (remaining == 1)
        mView.showCountdown(
            (mResumed ? QStringLiteral("Workout resumes in\r") : QStringLiteral("Workout Starts in\r")) + n
                + (mResumed ? QStringLiteral(" second") : QStringLiteral(" Second")),
            QString());
    else
        mView.showCountdown(mResumed ? QStringLiteral("Workout resumes\rNOW!")
                                     : QStringLiteral("Workout Starts\rNOW!"),
                            QString());

    const quint64 generation = mGeneration;
    mWaiting = Waiting::Timer;
    mTimer = mClock.callAfter(std::min<qint64>(kPollMs, leftMs + 1), guarded([this, generation] {
                                  if (generation == mGeneration)
                                      countdownPass();
                              }));
}

void RunEngine::startSegments()
{
    mPhase = Phase::Running;
    const Workout& workout = mSession.workout;
    // The schedule is fixed here: a delay inside a segment never moves a later end.
    mEnds.assign(workout.count() + 1, 0);
    qint64 end = mClock.tickMs();
    for (int i = mFirst; i <= workout.count(); ++i) {
        end += std::llround(workout.segment(i).SegmentTime() * 1000.0);
        mEnds[i] = end;
    }
    queueSegment(mFirst);
    next();
}

void RunEngine::queueSegment(int n)
{
    const Segment& segment = mSession.workout.segment(n);
    const Machine& machine = mSession.machine;
    const int speed = static_cast<int>(roundHalfEven(segment.SegmentSpeed() * 10));
    const int incline = static_cast<int>(roundHalfEven(segment.SegmentIncline() * 10));
    const QString first = firstTargetText(machine, segment.SegmentSpeed(), mDisplay);
    const QString second = secondTargetText(segment.SegmentIncline());
    const bool cues = mOptions.voiceCues();
    LevelSwitch& levels = mDevices.levels;

    then([this, n, first, second] {
        mCurrentSegment = n;
        mEndMs = mEnds[n];
        mView.showSegment(n, first, second);
        mDevices.music.pause();
        mCueStartMs = mClock.tickMs();
    });
    if (cues) {
        then([&levels] { levels.useLevel(SoundLevel::Voice); });
        then([this] { playClip(QStringLiteral("getready")); });
        then([this] { showTimeLeft(mEndMs - mClock.tickMs()); });
    }
    // The time the cue took lengthens this segment only.
    then([this] {
        mEndMs += mClock.tickMs() - mCueStartMs;
        waitMs(tonePauseMs());
    });
    queueCommand(speed, incline);
    then([this] { waitMs(kHalfSecondMs); });
    if (cues) {
        then([&levels] { levels.useLevel(SoundLevel::Voice); });
        for (const auto& [word, number] :
             {std::pair{machine.AttOneVoiceCue(), first}, std::pair{machine.AttTwoVoiceCue(), second}}) {
            then([this, word = word] { playClip(word); });
            for (const QString& digit : VoiceCues::numberWords(number))
                then([this, digit] { playClip(digit); });
            then([this] { showTimeLeft(mEndMs - mClock.tickMs()); });
        }
    }
    then([this, n] {
        mDevices.music.resume();
        mEndMs -= kHalfSecondMs;
        waitShowing(mEndMs);
        if (n < mSession.workout.count())
            queueSegment(n + 1);
        else
            queueEnd();
    });
}

void RunEngine::queueEnd()
{
    const bool cues = mOptions.voiceCues();
    LevelSwitch& levels = mDevices.levels;
    then([this] { mDevices.music.pause(); });
    if (cues) {
        then([&levels] { levels.useLevel(SoundLevel::Voice); });
        then([this] { playClip(QStringLiteral("endofworkout")); });
    }
    then([this] { waitMs(tonePauseMs()); });
    queueCommand(kStopValue, kStopValue);
    then([this] { waitMs(kHalfSecondMs); });
    if (cues) {
        then([&levels] { levels.useLevel(SoundLevel::Voice); });
        then([this] { showTimeLeft(-1); });
    }
    then([this] {
        mDevices.music.resume();
        if (mCurrentSegment == mSession.workout.count())
            mDevices.music.stopAtEnd();
        finish(Outcome::Completed);
    });
}

void RunEngine::queueStop()
{
    mSteps.clear();
    mPhase = Phase::Stopping;
    LevelSwitch& levels = mDevices.levels;
    then([this] { mDevices.music.pause(); });
    // The usual pause before a command, but the stop command starts at most half
    // a second after it was asked for, however long the tone it had to wait for;
    // a short gap still keeps it apart from that tone.
    then([this] {
        const qint64 due = mStopAskedMs + kHalfSecondMs - mClock.tickMs();
        waitMs(std::max<qint64>(kStopGapMs, std::min<qint64>(tonePauseMs(), due)));
    });
    queueCommand(kStopValue, kStopValue);
    then([&levels] { levels.useLevel(SoundLevel::Main); });
    then([this] { waitMs(kHalfSecondMs); });
    then([this] { finish(mProblem.isEmpty() ? Outcome::Stopped : Outcome::OutputLost); });
}

void RunEngine::queueCommand(int first, int second)
{
    const QByteArray command = tone(first, second);
    then([this] { mDevices.levels.useLevel(SoundLevel::Tone); });
    for (int k = 0; k < mOptions.beeps(); ++k)
        then([this, command] { playTone(command); });
}

void RunEngine::requestStop()
{
    if (!mActive || mPhase == Phase::Stopping || mStopRequested)
        return;
    mStopRequested = true;
    mStopAskedMs = mClock.tickMs();
    if (mPhase == Phase::Countdown) {
        // A stop asked for during the countdown still tells the console.
        dropPending();
        mView.endCountdown();
        queueStop();
        next();
        return;
    }
    switch (mWaiting) {
    case Waiting::Tone:
        return; // heard to its end; then the stop command (see soundEnded)
    case Waiting::Clip:
    case Waiting::Timer:
        dropPending();
        queueStop();
        next();
        return;
    case Waiting::Nothing:
        return; // in the middle of a step: next() sees the request before the following one
    }
}

void RunEngine::cancelCountdown()
{
    if (!mActive || mPhase != Phase::Countdown)
        return;
    dropPending();
    mDevices.music.cancelCountdown();
    mDevices.levels.useLevel(SoundLevel::Main);
    mView.endCountdown();
    finish(Outcome::Cancelled);
}

void RunEngine::musicFailed(const QString& entry)
{
    if (!mActive)
        return;
    mDevices.music.dropForThisRun();
    mView.showNote(musicStoppedText(entry));
}

void RunEngine::next()
{
    while (!mSteps.empty() && mWaiting == Waiting::Nothing) {
        if (mStopRequested && mPhase == Phase::Running) {
            queueStop();
            continue;
        }
        Step step = std::move(mSteps.front());
        mSteps.pop_front();
        step();
    }
}

void RunEngine::waitMs(qint64 ms)
{
    const quint64 generation = mGeneration;
    mWaiting = Waiting::Timer;
    mTimer = mClock.callAfter(ms, guarded([this, generation] {
                                  if (generation != mGeneration)
                                      return;
                                  mTimer = 0;
                                  mWaiting = Waiting::Nothing;
                                  next();
                              }));
}

void RunEngine::waitShowing(qint64 endMs)
{
    const qint64 left = endMs - mClock.tickMs();
    showTimeLeft(left);
    if (left <= 0)
        return;
    const quint64 generation = mGeneration;
    mWaiting = Waiting::Timer;
    mTimer = mClock.callAfter(std::min<qint64>(kShowEveryMs, left), guarded([this, generation, endMs] {
                                  if (generation != mGeneration)
                                      return;
                                  mTimer = 0;
                                  mWaiting = Waiting::Nothing;
                                  waitShowing(endMs);
                                  next();
                              }));
}

void RunEngine::playTone(const QByteArray& tone)
{
    const quint64 generation = mGeneration;
    mWaiting = Waiting::Tone;
    mDevices.player.start(tone, guarded([this, generation, tone](WavePlayer::Result result) {
                              soundEnded(generation, Waiting::Tone, result, [this, tone] { playTone(tone); });
                          }));
}

void RunEngine::playClip(const QString& word)
{
    const quint64 generation = mGeneration;
    mWaiting = Waiting::Clip;
    mDevices.player.startFile(mDevices.cues.clipPath(word),
                              guarded([this, generation](WavePlayer::Result result) {
                                  soundEnded(generation, Waiting::Clip, result, nullptr);
                              }));
}

void RunEngine::soundEnded(quint64 generation, Waiting kind, WavePlayer::Result result, const Step& again)
{
    if (generation != mGeneration || mWaiting != kind)
        return;
    mWaiting = Waiting::Nothing;
    if (result == WavePlayer::Result::OutputLost) {
        outputLost(again);
        return;
    }
    if (result == WavePlayer::Result::Heard)
        mLostSinceMs = -1;
    // A clip that cannot be played is passed over, as a missing clip always was.
    next();
}

void RunEngine::outputLost(const Step& again)
{
    const qint64 now = mClock.tickMs();
    if (mLostSinceMs < 0)
        mLostSinceMs = now;
    if (now - mLostSinceMs >= kOutputGraceMs || mPhase == Phase::Stopping) {
        if (mProblem.isEmpty())
            mProblem = outputLostText(std::max(1, mCurrentSegment));
        if (mPhase == Phase::Stopping) {
            next(); // nothing more can be heard: the stop sequence runs out silently
        } else {
            mStopRequested = true;
            mStopAskedMs = now;
            dropPending();
            queueStop();
            next();
        }
        return;
    }
    // Follow a new default output should one appear in time; a spoken cue is
    // simply passed over, a control tone is played again.
    const quint64 generation = mGeneration;
    mWaiting = Waiting::Timer;
    mTimer = mClock.callAfter(kOutputCheckMs, guarded([this, generation, again] {
                                  if (generation != mGeneration)
                                      return;
                                  mTimer = 0;
                                  mWaiting = Waiting::Nothing;
                                  if (!mDevices.player.outputAvailable()) {
                                      outputLost(again);
                                      return;
                                  }
                                  if (again)
                                      again();
                                  next();
                              }));
}

void RunEngine::finish(Outcome outcome)
{
    dropPending();
    mSteps.clear();
    mOutcome = outcome;
    mPhase = Phase::Idle;
    mCurrentSegment = 0;
    mView.showTimeLeft(QStringLiteral("0:00"));
    mView.setRunMode(false);
    mDevices.music.afterRun(mResumed);
    mDevices.levels.useLevel(SoundLevel::Main);
    mDevices.levels.setRunMode(false);
    mActive = false;
    mView.runEnded(outcome, mProblem);
}

void RunEngine::dropPending()
{
    ++mGeneration;
    if (mTimer != 0)
        mClock.cancel(mTimer);
    mTimer = 0;
    if (mWaiting == Waiting::Tone || mWaiting == Waiting::Clip)
        mDevices.player.stop();
    mWaiting = Waiting::Nothing;
}

void RunEngine::showTimeLeft(qint64 ms)
{
    mView.showTimeLeft(timeLeftText(ms));
    mDevices.music.notePlace();
}

QByteArray RunEngine::tone(int first, int second) const
{
    return mDevices.tones.MakeControlTone(static_cast<std::int16_t>(first), static_cast<std::int16_t>(second),
                                          false);
}

int RunEngine::tonePauseMs() const
{
    QString text = AudioSettings(mSettings).tonePauseText(QStringLiteral("0.5"));
    bool ok = false;
    const double seconds = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    // A pause that is not a number, or absurd, reads as the usual half second.
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 10)
        return kHalfSecondMs;
    return static_cast<int>(std::lround(seconds * 1000));
}

} // namespace kntr
