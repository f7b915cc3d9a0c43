#include "flip/schedule.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace leafsong {
namespace {

struct ScheduleCase {
    const char* name;
    bool forward;
    int BookWidth;
    size_t frames;
    int first, last;
    int reverseCount;
};

void PrintTo(const ScheduleCase& c, std::ostream* os) {
    *os << c.name;
}

class Schedules : public ::testing::TestWithParam<ScheduleCase> {};

TEST_P(Schedules, FramesInStepsOfTwenty) {
    const ScheduleCase& c = GetParam();
    const std::vector<FrameStep> frames =
        c.forward ? ForwardFrames(c.BookWidth) : BackwardFrames(c.BookWidth);
    ASSERT_EQ(frames.size(), c.frames);
    EXPECT_EQ(frames.front().FlipPos, c.first);
    EXPECT_EQ(frames.back().FlipPos, c.last);
    for (size_t k = 1; k < frames.size(); ++k) {
        EXPECT_EQ(frames[k].FlipPos - frames[k - 1].FlipPos, c.forward ? -20 : 20);
    }
    const auto reversed =
        std::count_if(frames.begin(), frames.end(), [](const FrameStep& s) { return s.Reverse; });
    EXPECT_EQ(reversed, c.reverseCount);
    // The leaf shows the page it lifted from until its free edge has passed the spine: one
    // change of side per turn.
    EXPECT_EQ(frames.front().Reverse, c.forward);
    int changes = 0;
    for (size_t k = 1; k < frames.size(); ++k) {
        changes += frames[k].Reverse != frames[k - 1].Reverse ? 1 : 0;
    }
    EXPECT_EQ(changes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Turn, Schedules,
    ::testing::Values(ScheduleCase{"forward over 750", true, 750, 37, 750, 30, 19},
                      ScheduleCase{"backward over 750", false, 750, 37, 0, 720, 18},
                      // 379 lies left of a spine at 379.5.
                      ScheduleCase{"forward over 759", true, 759, 38, 759, 19, 19},
                      // Stops 15.5 and 759.5 round to 16 and 760: 15 is left out, 760 kept.
                      ScheduleCase{"forward over 775", true, 775, 38, 775, 35, 20},
                      ScheduleCase{"backward over 775", false, 775, 39, 0, 760, 19},
                      // A frame exactly on the spine still shows the lifted page, either way.
                      ScheduleCase{"forward over 760", true, 760, 38, 760, 20, 20},
                      ScheduleCase{"backward over 760", false, 760, 38, 0, 740, 18}));

TEST(Schedules, AlbumTurnsReverseAtTheTabledFrames) {
    const std::vector<FrameStep> forward = ForwardFrames(750);
    EXPECT_TRUE(forward[18].Reverse);
    EXPECT_EQ(forward[18].FlipPos, 390);
    EXPECT_FALSE(forward[19].Reverse);
    EXPECT_EQ(forward[19].FlipPos, 370);
    const std::vector<FrameStep> backward = BackwardFrames(750);
    EXPECT_FALSE(backward[18].Reverse);
    EXPECT_EQ(backward[18].FlipPos, 360);
    EXPECT_TRUE(backward[19].Reverse);
    EXPECT_EQ(backward[19].FlipPos, 380);
    for (const auto* turn : {&forward, &backward}) {
        for (const FrameStep& s : *turn) {
            EXPECT_NE(s.FlipPos, 375);
        }
    }
}

}  // namespace
}  // namespace leafsong
