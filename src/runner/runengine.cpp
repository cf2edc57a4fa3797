#include "runengine.h"

#include "levelswitch.h"
#include "runmusic.h"
#include "runview.h"

#include "editor/editor.h"
#include "model/numbers.h"
#include "model/runoptions.h"
#include "model/session.h"
#include "model/totals.h"
#include "platform/clock.h"
#include "platform/messageboxes.h"
#include "platform/settingsstore.h"
#include "platform/waveplayer.h"
#include "tones/controltones.h"
#include "tones/voicecues.h"

#include <algorithm>
#include <cmath>

namespace kntr {

namespace {

using Icon = MessageBoxes::Icon;
using Buttons = MessageBoxes::Buttons;
using Answer = MessageBoxes::Answer;

const QString kCdMissing = QStringLiteral(
    "CD not present or unplayable.\r\n\r\n"
    "To stop the workout press OK, to continue the workout without a CD press CANCEL");
const QString kPlayListMissing = QStringLiteral(
    "One of the following errors occurred: \r\r - Playlist file (*.asx) is missing or not valid\r"
    " - Playlist file has unsupported ID3v2 tags, \r"
    " - Windows Media Player 6.4 or higher not found. \r\r"
    "Workout Audio menu option reset to No Music.");

} // namespace

RunEngine::RunEngine(Session& session, SettingsStore& settings, const RunOptions& options,
                     Clock& clock, Editor& editor, Devices devices, MessageBoxes& messages,
                     RunView& view)
    : mSession(session)
    , mSettings(settings)
    , mOptions(options)
    , mClock(clock)
    , mEditor(editor)
    , mDevices(devices)
    , mMessages(messages)
    , mView(view)
{
}

QString RunEngine::timeLeftText(qint64 ms)
{
    return ms < 0 ? QStringLiteral("0:00") : minutesSecondsText(ms / 1000.0);
}

RunEngine::Outcome RunEngine::start()
{
    return run(1, false);
}

RunEngine::Outcome RunEngine::resume(int segment)
{
    return run(std::clamp(segment, 1, mSession.workout.count()), true);
}

void RunEngine::requestStop()
{
    if (mActive && !mRunStopped)
        mStopRequested = true;
}

void RunEngine::cancelCountdown()
{
    if (!mActive || mRunStopped)
        return;
    mRunStopped = true;
    mCancelled = true;
    mDevices.music.cancelCountdown();
    mDevices.levels.hscVolMain_Change();
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
    } else if (type == RunMusic::kPlayList && !resumed) {
        if (!music.loadPlayList()) {
            music.SetAudioType(RunMusic::kNone);
            mMessages.show(kPlayListMissing, Icon::Information);
            return false;
        }
    }
    return true;
}

RunEngine::Outcome RunEngine::run(int first, bool resumed)
{
    if (mActive || mSession.workout.count() < 1)
        return Outcome::NotStarted;
    if (!checkMusic(resumed))
        return Outcome::NotStarted;
    if (!resumed)
        mEditor.selectSegment(1);

    // Run mode.
    mActive = true;
    mRunStopped = false;
    mStopRequested = false;
    mCancelled = false;
    mView.setRunMode(true);
    mEditor.setEditingEnabled(false);

    countdown(resumed);
    mView.endCountdown();
    if (!mRunStopped && !mStopRequested)
        RunWorkOut(first);
    else
        stopCheck(); // a stop asked for during the countdown still tells the console


    // Back to editing.
    const bool completed = !mRunStopped;
    const bool cancelled = mCancelled;
    mRunStopped = true;
    mCurrentSegment = 0;
    mView.showTimeLeft(QStringLiteral("0:00"));
    mView.setRunMode(false);
    mEditor.setEditingEnabled(true);
    mDevices.music.afterRun(resumed);
    mDevices.levels.hscVolMain_Change();
    mActive = false;
    if (cancelled)
        return Outcome::Cancelled;
    return completed ? Outcome::Completed : Outcome::Stopped;
}

void RunEngine::countdown(bool resumed)
{
    mView.showCountdown(QStringLiteral("Starting Audio..."), QString());
    mClock.processEvents();
    mDevices.music.startMusic(resumed);
    mClock.processEvents();

    const QString instructions =
        resumed ? QStringLiteral("VEXA treadmills:\rPress START on Console if in VEXA mode or\r"
                                 "press PROGRAM to start VEXA mode.")
                : QStringLiteral("VEXA treadmills:\rPress PROGRAM on Treadmill Console to start.");
    const qint64 end = mClock.tickMs() + qint64(mOptions.delaySeconds()) * 1000;
    while (mClock.tickMs() <= end && !mRunStopped && !mStopRequested) {
        const qint64 leftMs = end - mClock.tickMs();
        const double remaining = roundHalfEven(leftMs / 1000.0);
        const QString n = QString::number((leftMs + 500) / 1000);
        if (remaining > 1)
            mView.showCountdown((resumed ? QStringLiteral("Workout resumes in\r") : QStringLiteral("Workout starts in\r\n"))
                                    + n + (resumed ? QStringLiteral(" seconds...") : QStringLiteral(" seconds")),
                                instructions);
        else if (remaining == 1)
            mView.showCountdown((resumed ? QStringLiteral("Workout resumes in\r") : QStringLiteral("Workout Starts in\r"))
                                    + n + (resumed ? QStringLiteral(" second") : QStringLiteral(" Second")),
                                QString());
        else
            mView.showCountdown(resumed ? QStringLiteral("Workout resumes\rNOW!") : QStringLiteral("Workout Starts\rNOW!"),
                                QString());
        mClock.wait(static_cast<int>(std::min<qint64>(kPollMs, end - mClock.tickMs() + 1)));
    }
}

void RunEngine::RunWorkOut(int first)
{
    const Workout& workout = mSession.workout;
    // The schedule is fixed here: a delay inside a segment never moves a later end.
    std::vector<qint64> ends(workout.count() + 1, 0);
    qint64 end = mClock.tickMs();
    for (int i = first; i <= workout.count(); ++i) {
        end += std::llround(workout.segment(i).SegmentTime() * 1000.0);
        ends[i] = end;
    }

    for (int i = first; i <= workout.count(); ++i) {
        mCurrentSegment = i;
        const Segment& segment = workout.segment(i);
        const int speed = static_cast<int>(roundHalfEven(segment.SegmentSpeed() * 10));
        const int incline = static_cast<int>(roundHalfEven(segment.SegmentIncline() * 10));
        mEditor.selectSegment(i);
        mView.showSegment(i, mEditor.text(Editor::Field::Speed), mEditor.text(Editor::Field::Incline));
        segmentTimer(i, ends[i], speed, incline);
        if (stopCheck())
            return;
    }

    qint64 none = 0;
    segmentTimer(0, none, kStopValue, kStopValue);
    if (!stopCheck() && mCurrentSegment == workout.count())
        mDevices.music.stopAtEnd();
}

void RunEngine::segmentTimer(int n, qint64& endMs, int first, int second)
{
    const bool cues = mOptions.voiceCues();
    mDevices.music.pause();
    const qint64 cueStart = mClock.tickMs();
    if (cues) {
        mDevices.levels.hscVolCue_Change();
        mDevices.cues.PlayCue(n > 0 ? QStringLiteral("getready") : QStringLiteral("endofworkout"));
        ShowTimeLeft(endMs - mClock.tickMs());
        if (stopCheck())
            return;
        mClock.processEvents();
    }
    // The time the cue took lengthens this segment only.
    endMs += mClock.tickMs() - cueStart;

    playCommand(first, second);
    mClock.wait(kHalfSecondMs);

    if (cues) {
        mDevices.levels.hscVolCue_Change();
        if (n > 0) {
            const Machine& machine = mSession.machine;
            mDevices.cues.PlayCue(machine.AttOneVoiceCue());
            mDevices.cues.SpeakNumber(mEditor.text(Editor::Field::Speed));
            ShowTimeLeft(endMs - mClock.tickMs());
            if (stopCheck())
                return;
            mClock.processEvents();
            mDevices.cues.PlayCue(machine.AttTwoVoiceCue());
            mDevices.cues.SpeakNumber(mEditor.text(Editor::Field::Incline));
        }
        ShowTimeLeft(endMs - mClock.tickMs());
        if (stopCheck())
            return;
        mClock.processEvents();
    }

    mDevices.music.resume();
    endMs -= kHalfSecondMs;
    while (mClock.tickMs() < endMs && !stopCheck()) {
        mClock.wait(static_cast<int>(std::min<qint64>(kPollMs, endMs - mClock.tickMs())));
        ShowTimeLeft(endMs - mClock.tickMs());
    }
}

void RunEngine::playCommand(int first, int second)
{
    const QByteArray tone = mDevices.tones.MakeControlTone(static_cast<std::int16_t>(first),
                                                           static_cast<std::int16_t>(second), false);
    mClock.wait(tonePauseMs());
    mDevices.levels.hscVolAW_Change();
    mDevices.player.playImage(tone, true);
    if (mOptions.beeps() == 2)
        mDevices.player.playImage(tone, true);
}

bool RunEngine::stopCheck()
{
    if (mStopRequested && !mRunStopped) {
        mRunStopped = true;
        mDevices.music.pause();
        playCommand(kStopValue, kStopValue);
        mDevices.levels.hscVolMain_Change();
        mClock.wait(kHalfSecondMs);
    }
    return mRunStopped;
}

void RunEngine::ShowTimeLeft(qint64 ms)
{
    mView.showTimeLeft(timeLeftText(ms));
    mDevices.music.notePlace();
}

int RunEngine::tonePauseMs() const
{
    QString text = mSettings.GetSetting(kAppName, QStringLiteral("Audio"), QStringLiteral("Pause"),
                                        QStringLiteral("0.5"));
    bool ok = false;
    const double seconds = text.replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    // A pause that is not a number, or absurd, reads as the usual half second.
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > 10)
        return kHalfSecondMs;
    return static_cast<int>(std::lround(seconds * 1000));
}

} // namespace kntr
