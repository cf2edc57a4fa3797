#include "runner/levelswitch.h"
#include "runner/runengine.h"
#include "runner/runmusic.h"
#include "runner/runview.h"

#include "model/runoptions.h"
#include "model/session.h"
#include "platform/memorysettingsstore.h"
#include "tones/controltones.h"
#include "tones/mcicommands.h"
#include "tones/voicecues.h"
#include "fakecddevice.h"
#include "manualclock.h"
#include "recordingmediaplayer.h"
#include "recordingwaveplayer.h"
#include "scriptedmessageboxes.h"
#include "testenv.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace kntr;

namespace {

/// Every level switch with its time.
class RecordingLevels : public LevelSwitch {
public:
    explicit RecordingLevels(Clock& clock)
        : mClock(clock)
    {
    }
    void useLevel(SoundLevel level) override
    {
        static const char* const kNames[] = {"main", "tone", "music", "cue"};
        record(kNames[static_cast<int>(level)]);
    }
    std::vector<std::pair<qint64, QString>> switches;

private:
    void record(const char* level) { switches.emplace_back(mClock.tickMs(), QString::fromLatin1(level)); }
    Clock& mClock;
};

class RecordingRunView : public RunView {
public:
    explicit RecordingRunView(Clock& clock)
        : mClock(clock)
    {
    }
    void setRunMode(bool running) override { modes.push_back(running); }
    void showCountdown(const QString& countdown, const QString&) override
    {
        if (countdowns.isEmpty() || countdowns.last() != countdown)
            countdowns << countdown;
    }
    void endCountdown() override { countdownEndMs = mClock.tickMs(); }
    void showSegment(int segment, const QString& first, const QString& second) override
    {
        segments.push_back({mClock.tickMs(), segment, first + QLatin1Char('/') + second});
    }
    void showTimeLeft(const QString& text) override { timeLeft = text; }
    void selectSegment(int segment) override { selected = segment; }
    void showNote(const QString& text) override { notes << text; }
    void runEnded(RunOutcome outcome, const QString& text) override
    {
        ended.push_back(outcome);
        problem = text;
    }

    struct Shown {
        qint64 atMs;
        int segment;
        QString targets;
    };
    std::vector<bool> modes;
    QStringList countdowns;
    qint64 countdownEndMs = -1;
    std::vector<Shown> segments;
    QString timeLeft;
    int selected = 0;
    QStringList notes;
    std::vector<RunOutcome> ended;
    QString problem;

private:
    Clock& mClock;
};

class RunEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        session.machine.GetSettings(settings);
        session.machine.setMachineType(session.machine.MachineType());
        settings.SaveSetting(kAppName, "options", "Delay", "5");
        settings.SaveSetting(kAppName, "options", "VoiceCues", "0");
        options.load();
        setSegments({{3.0, 1.0}, {4.5, 2.0}, {6.0, 3.5}, {5.0, 1.5}}, 60);
    }

    void setSegments(const std::vector<std::pair<double, double>>& values, double seconds)
    {
        session.workout.setCount(static_cast<int>(values.size()));
        for (int i = 1; i <= session.workout.count(); ++i) {
            Segment& s = session.workout.segment(i);
            s.setSegmentSpeed(values[i - 1].first);
            s.setSegmentIncline(values[i - 1].second);
            s.setSegmentTime(seconds);
        }
    }

    /// Runs the workout (from segment from, by Resume, when given) to its end in virtual time.
    RunEngine::Outcome run(int from = 0)
    {
        const bool started = from > 0 ? engine.resume(from) : engine.start();
        if (!started)
            return RunEngine::Outcome::NotStarted;
        EXPECT_TRUE(clock.runUntil([this] { return !engine.isRunning(); }));
        return engine.outcome();
    }

    /// The control tones played: when, and which command (as "speed/incline" tenths).
    std::vector<std::pair<qint64, QString>> tones()
    {
        std::vector<std::pair<qint64, QString>> played;
        for (const auto& call : player.calls()) {
            if (call.kind != RecordingWavePlayer::Kind::Image)
                continue;
            QString command = QStringLiteral("?");
            for (const auto& [a, b] : {std::pair{30, 10}, {45, 20}, {60, 35}, {50, 15}, {50, 20}, {252, 252}})
                if (call.image == reference.MakeControlTone(a, b, false))
                    command = QStringLiteral("%1/%2").arg(a).arg(b);
            played.emplace_back(call.atMs, command);
        }
        return played;
    }

    test::ScopedXdgHome home;
    Session session;
    MemorySettingsStore settings;
    RunOptions options{settings};
    ManualClock clock;
    ScriptedMessageBoxes messages;
    ControlTones toneMaker{session.machine};
    ControlTones reference{session.machine};
    RecordingWavePlayer player{clock};
    VoiceCues cues{QStringLiteral(KNTR_VOICECUE_DIR)};
    FakeCdDevice cd{clock};
    MciCommands mci{cd, messages};
    RecordingMediaPlayer media{clock};
    RecordingLevels levels{clock};
    RunMusic music{settings, cd, mci, media, levels, clock};
    RecordingRunView view{clock};
    RunEngine engine{session,  settings, options, clock, {toneMaker, player, cues, music, levels},
                     messages, view};
};

TEST_F(RunEngineTest, CountdownThenEveryToneOnItsBoundary)
{
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    EXPECT_EQ(
        view.countdowns,
        QStringList({"Starting Audio...", "Workout starts in\r\n5 seconds", "Workout starts in\r\n4 seconds",
                     "Workout starts in\r\n3 seconds", "Workout starts in\r\n2 seconds",
                     "Workout Starts in\r1 Second", "Workout Starts\rNOW!"}));
    const qint64 t = view.countdownEndMs;
    EXPECT_GE(t, 5000);
    EXPECT_LE(t, 5000 + RunEngine::kPollMs);
    // The first tone follows the tone pause; every later one falls on its
    // segment's scheduled start, because each wait ends half a second early.
    const std::vector<std::pair<qint64, QString>> expected = {{t + 500, "30/10"},
                                                              {t + 60000, "45/20"},
                                                              {t + 120000, "60/35"},
                                                              {t + 180000, "50/15"},
                                                              {t + 240000, "252/252"}};
    EXPECT_EQ(tones(), expected);
    EXPECT_EQ(view.segments.back().targets, "5/1.5");
    EXPECT_EQ(view.modes, std::vector<bool>({true, false}));
    EXPECT_EQ(view.timeLeft, "0:00");
    EXPECT_EQ(view.selected, 1);
    EXPECT_EQ(view.ended, std::vector<RunOutcome>({RunOutcome::Completed}));
    // Each tone at the tone level, then back to the main level.
    EXPECT_EQ(levels.switches.front(), std::make_pair(t + 500, QString("tone")));
    EXPECT_EQ(levels.switches.back().second, "main");
}

TEST_F(RunEngineTest, ACueLengthensItsOwnSegmentOnly)
{
    settings.SaveSetting(kAppName, "options", "VoiceCues", "1");
    settings.SaveSetting(kAppName, "options", "Delay", "10");
    options.load();
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    const qint64 t = view.countdownEndMs;
    ASSERT_EQ(view.segments.size(), 4u);
    const qint64 cue = player.calls().front().durationMs; // "getready"
    ASSERT_GT(cue, 100);
    for (int i = 1; i < 4; ++i) // segment i + 1 begins when segment i's wait ends
        EXPECT_EQ(view.segments[i].atMs, t + 60000 * i + cue - 500) << i;
    // getready, tone, "Speed" 4 point 5, "Incline" 2 point 0, for segment 2.
    QStringList clips = player.clipNames();
    EXPECT_EQ(clips.mid(0, 7), QStringList({"getready", "Speed", "3", "point", "0", "Incline", "1"}));
    EXPECT_EQ(clips.last(), "endofworkout");
    EXPECT_EQ(tones().back().second, "252/252");
}

TEST_F(RunEngineTest, StopInSegmentThreeLetsTheSoundEndThenStopsTheConsole)
{
    settings.SaveSetting(kAppName, "audio", "volOption", "3");
    music.SetAudioType(3);
    for (int beeps : {1, 2}) {
        SCOPED_TRACE(beeps);
        options.setBeeps(beeps);
        player.clear();
        const qint64 begin = clock.tickMs();
        clock.at(begin + 5000 + 130000, [this] { engine.requestStop(); });
        EXPECT_EQ(run(), RunEngine::Outcome::Stopped);
        auto played = tones();
        ASSERT_EQ(played.size(), 3u * beeps + beeps);
        for (int k = 0; k < beeps; ++k)
            EXPECT_EQ(played[3 * beeps + k].second, "252/252");
        const qint64 stopTone = played[3 * beeps].first;
        EXPECT_GE(stopTone, begin + 5000 + 130000 + 500);
        EXPECT_LE(stopTone, begin + 5000 + 130000 + 500 + RunEngine::kPollMs);
        EXPECT_EQ(view.segments.back().segment, 3);
        EXPECT_FALSE(engine.isRunning());
        view.segments.clear();
    }
    // The disc was paused where it was, to go on from there.
    EXPECT_EQ(cd.commands().last(), "pause cdaudio");
    EXPECT_FALSE(cd.playing());
}

TEST_F(RunEngineTest, ResumeRunsFromTheChosenSegmentAndTheCdKeepsPace)
{
    settings.SaveSetting(kAppName, "audio", "volOption", "3");
    music.SetAudioType(3);
    EXPECT_EQ(run(3), RunEngine::Outcome::Completed);
    ASSERT_EQ(view.segments.size(), 2u);
    EXPECT_EQ(view.segments.front().segment, 3);
    EXPECT_EQ(view.countdowns.at(1), "Workout resumes in\r5 seconds...");
    EXPECT_EQ(tones().front(), std::make_pair(view.countdownEndMs + 500, QString("60/35")));
    // After each segment's tone the disc plays on from where the clock says it would be.
    QStringList plays = cd.commands().filter("play cdaudio from");
    ASSERT_GE(plays.size(), 2);
    EXPECT_EQ(cd.commands().filter("stop cdaudio").size(), 3); // SetAudioType, end of workout, after Resume
}

TEST_F(RunEngineTest, APlayListPausesForEveryToneAndMovesOnNearAnEntrysEnd)
{
    media.scriptPlayList("/music/list.asx", {70, 65});
    settings.SaveSetting(kAppName, "audio", "ASXfilename", "/music/list.asx");
    music.SetAudioType(5);
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);

    // Where the music went on after each segment's tone: the saved place, unless
    // it was within ten seconds of the entry's end; then the next entry (after the
    // last, the first) from its first second.
    std::vector<std::pair<int, double>> resumedAt;
    int entry = 0;
    for (const auto& call : media.calls()) {
        if (call.kind == RecordingMediaPlayer::Kind::SelectEntry)
            entry = call.entry;
        else if (call.kind == RecordingMediaPlayer::Kind::SetPart && call.atMs > view.countdownEndMs)
            resumedAt.emplace_back(entry, call.start);
    }
    ASSERT_GE(resumedAt.size(), 5u);
    EXPECT_EQ(resumedAt[0].first, 1); // segment 1: where the countdown left it
    EXPECT_NEAR(resumedAt[0].second, 6.0, 0.1);
    EXPECT_EQ(resumedAt[2], std::make_pair(2, 1.0)); // segment 2: entry 1 was nearly over
    EXPECT_EQ(resumedAt[4], std::make_pair(1, 1.0)); // segment 3: after the last entry, the first
    // Every tone came with the music paused.
    for (const auto& [at, command] : tones()) {
        bool playing = false;
        for (const auto& call : media.calls()) {
            if (call.atMs > at)
                break;
            if (call.kind == RecordingMediaPlayer::Kind::Play)
                playing = true;
            else if (call.kind == RecordingMediaPlayer::Kind::Pause)
                playing = false;
        }
        EXPECT_FALSE(playing) << command.toStdString() << " at " << at;
    }
}

TEST_F(RunEngineTest, CancelledCountdownPlaysNothing)
{
    clock.at(2000, [this] { engine.cancelCountdown(); });
    EXPECT_EQ(run(), RunEngine::Outcome::Cancelled);
    EXPECT_TRUE(tones().empty());
    EXPECT_TRUE(view.segments.empty());
    EXPECT_EQ(view.modes, std::vector<bool>({true, false}));
}

TEST_F(RunEngineTest, AThirtyMinuteRunInVirtualTime)
{
    std::vector<std::pair<double, double>> values(30, {5.0, 2.0});
    setSegments(values, 60);
    settings.SaveSetting(kAppName, "options", "VoiceCues", "1");
    options.load();
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    const auto played = tones();
    ASSERT_EQ(played.size(), 31u);
    const qint64 cue = player.calls().front().durationMs;
    // Each boundary comes half a second after the previous segment's own cue;
    // this segment's cue and the tone pause follow.
    for (int i = 1; i < 30; ++i)
        EXPECT_EQ(played[i].first, view.countdownEndMs + 60000 * i + 2 * cue) << i;
    EXPECT_GE(clock.tickMs(), 30 * 60000);
}

} // namespace

namespace {

TEST_F(RunEngineTest, ADialogOpenAcrossASegmentBoundaryMovesNoTone)
{
    settings.SaveSetting(kAppName, "options", "VoiceCues", "1");
    options.load();
    const auto relative = [this](qint64 begin) {
        std::vector<std::pair<qint64, QString>> shifted;
        for (const auto& [at, command] : tones())
            shifted.emplace_back(at - begin, command);
        return shifted;
    };
    ASSERT_EQ(run(), RunEngine::Outcome::Completed);
    const auto undisturbed = relative(0);

    // About opened at 22 s and closed at 57 s: its own event loop delivers the
    // run's timers all along, as a modal dialog's does.
    player.clear();
    const qint64 begin = clock.tickMs();
    clock.at(begin + 22000, [this] { clock.advance(35000); });
    ASSERT_EQ(run(), RunEngine::Outcome::Completed);
    EXPECT_EQ(relative(begin), undisturbed);
}

TEST_F(RunEngineTest, StopInEveryStateReachesTheConsoleWithinASecond)
{
    settings.SaveSetting(kAppName, "options", "VoiceCues", "1");
    options.load();
    options.setBeeps(2);
    ASSERT_EQ(run(), RunEngine::Outcome::Completed);
    const std::vector<RecordingWavePlayer::Call> reference = player.calls();
    // Segment 2's sounds: "getready", two tones, then the spoken targets.
    std::vector<RecordingWavePlayer::Call> second;
    for (const auto& call : reference)
        if (call.atMs > view.countdownEndMs + 60000 && call.atMs < view.countdownEndMs + 70000)
            second.push_back(call);
    ASSERT_GE(second.size(), 6u);
    const qint64 toneAt = second[1].atMs;
    const struct {
        const char* state;
        qint64 atMs;
        bool toneInFlight;
    } requests[] = {
        {"countdown", 2000, false},
        {"get ready", second[0].atMs + second[0].durationMs / 2, false},
        {"tone pause", toneAt - 200, false},
        {"first of two tones", toneAt + second[1].durationMs / 2, true},
        {"half second after the tones", second[2].atMs + second[2].durationMs + 200, false},
        {"spoken speed", second[3].atMs + second[3].durationMs / 2, false},
        {"segment wait", view.countdownEndMs + 90000, false},
        {"end of workout", reference.back().atMs - 300, false},
    };
    for (const auto& r : requests) {
        SCOPED_TRACE(r.state);
        player.clear();
        const qint64 begin = clock.tickMs();
        const qint64 request = begin + r.atMs;
        clock.at(request, [this] { engine.requestStop(); });
        ASSERT_EQ(run(), RunEngine::Outcome::Stopped);
        std::vector<std::pair<qint64, QString>> after;
        for (const auto& tone : tones())
            if (tone.first >= request)
                after.push_back(tone);
        ASSERT_EQ(after.size(), 2u) << "only the two stop commands follow the request";
        EXPECT_EQ(after[0].second, "252/252");
        EXPECT_LE(after[0].first, request + 1000);
        if (r.toneInFlight) { // the tone being played was heard to its end
            for (const auto& call : player.calls()) {
                const bool cut = call.kind == RecordingWavePlayer::Kind::Stop && call.atMs > request
                    && call.atMs < after[0].first;
                EXPECT_FALSE(cut) << call.atMs;
            }
        }
    }
}

TEST_F(RunEngineTest, ALostOutputEndsTheRunUnlessAnotherComesWithinTwoSeconds)
{
    // Gone for good during segment 1: segment 2's tone finds no output.
    clock.at(5000 + 30000, [this] { player.setFailing(true); });
    EXPECT_EQ(run(), RunEngine::Outcome::OutputLost);
    EXPECT_EQ(view.problem, RunEngine::outputLostText(2));
    EXPECT_EQ(view.problem,
              "Sound output was lost during segment 2. The machine is no longer receiving commands.");
    EXPECT_LE(clock.tickMs(), 5000 + 60000 + 500 + RunEngine::kOutputGraceMs + 1500);
    EXPECT_EQ(view.modes.back(), false);

    // Back after a second and a half: the tone is played again and the run goes on.
    player.setFailing(false);
    player.clear();
    const qint64 begin = clock.tickMs();
    clock.at(begin + 5000 + 30000, [this] { player.setFailing(true); });
    clock.at(begin + 5000 + 61500, [this] { player.setFailing(false); });
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    QStringList heard;
    for (const auto& call : player.calls())
        if (call.kind == RecordingWavePlayer::Kind::Image && call.played)
            heard << QString::number(call.atMs - begin);
    EXPECT_EQ(heard.size(), 5);
}

TEST_F(RunEngineTest, FailedMusicIsDroppedAndTheRunGoesOn)
{
    media.scriptPlayList("/music/list.asx", {70, 65});
    settings.SaveSetting(kAppName, "audio", "ASXfilename", "/music/list.asx");
    music.SetAudioType(5);
    clock.at(5000 + 30000, [this] { engine.musicFailed("song.mp3"); });
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    EXPECT_EQ(view.notes, QStringList({"Music stopped: song.mp3 could not be played."}));
    for (const auto& call : media.calls())
        EXPECT_FALSE(call.atMs > 5000 + 30000 && call.kind == RecordingMediaPlayer::Kind::Play);
    EXPECT_EQ(tones().size(), 5u);
    EXPECT_EQ(music.menuEntry(), 3); // the user's choice of music stays
}

} // namespace

namespace {

TEST_F(RunEngineTest, TheDisplayChangesWhatIsShownNeverWhatIsSent)
{
    settings.SaveSetting(kAppName, "options", "distMode", "invert");
    session.machine.setDisplayUnits("Kilos");
    EXPECT_EQ(run(), RunEngine::Outcome::Completed);
    const auto played = tones();
    ASSERT_EQ(played.size(), 5u);
    EXPECT_EQ(played[0].second, "30/10");
    EXPECT_EQ(played[1].second, "45/20");
    EXPECT_EQ(view.segments[0].targets, "12.4/1"); // 60 / (3 × 1.61) minutes a kilometre
}

} // namespace
