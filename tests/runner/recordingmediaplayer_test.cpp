// The play-list player double keeps the real player's rules in virtual time.

#include "manualclock.h"
#include "recordingmediaplayer.h"

#include <gtest/gtest.h>

using namespace kntr;

TEST(RecordingMediaPlayer, PositionMovesWithTheClockThroughPartsAndEntries)
{
    ManualClock clock;
    RecordingMediaPlayer player(clock);
    player.scriptPlayList("/lists/run.asx", {30.0, 0.0, 20.0}); // entry 2 cannot be played

    EXPECT_FALSE(player.setPlayList("/lists/none.asx"));
    EXPECT_EQ(player.entryCount(), 0);
    EXPECT_LT(player.position(), 0.0);

    player.setAutoStart(true);
    ASSERT_TRUE(player.setPlayList("/lists/run.asx"));
    player.setPart(1.0, player.duration());
    EXPECT_TRUE(player.isPlaying());

    // Each step: the clock moves on, then the entry and position expected.
    const struct {
        qint64 advanceMs;
        int entry;
        double position;
    } steps[] = {
        {5000, 1, 6.0},
        {23000, 1, 29.0},
        {1500, 3, 0.5}, // entry 2 is passed over
        {20000, 1, 0.5}, // after the last, the first
    };
    for (const auto& s : steps) {
        clock.advance(s.advanceMs);
        EXPECT_EQ(player.currentEntry(), s.entry) << "at " << clock.tickMs();
        EXPECT_DOUBLE_EQ(player.position(), s.position) << "at " << clock.tickMs();
    }

    // Paused, the position holds; selecting the current entry keeps its place.
    player.pause();
    clock.advance(60000);
    player.selectEntry(1);
    EXPECT_DOUBLE_EQ(player.position(), 0.5);
    player.setPart(25.0, 26.0);
    player.play();
    clock.advance(1200);
    EXPECT_EQ(player.currentEntry(), 3);
    EXPECT_DOUBLE_EQ(player.position(), 0.2);

    std::vector<std::pair<qint64, int>> next;
    for (const auto& call : player.calls())
        if (call.kind == RecordingMediaPlayer::Kind::NextEntry)
            next.emplace_back(call.atMs, call.entry);
    const std::vector<std::pair<qint64, int>> expected = {{29000, 3}, {49000, 1}, {110500, 3}};
    EXPECT_EQ(next, expected);
}
