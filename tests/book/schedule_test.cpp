#include "flip/schedule.h"

#include <gtest/gtest.h>

#include <tuple>

namespace leafsong {
namespace {

TEST(Schedules, FramesInStepsOfTwenty) {
    // Forward, BookWidth, frames, first and last FlipPos, Reverse frames. Over 775 stops 15.5
    // and 759.5 round to 16 and 760; over 760 a frame on the spine shows the lifted page.
    const std::tuple<bool, int, size_t, int, int, size_t> rows[] = {
        {true, 750, 37, 750, 30, 19}, {false, 750, 37, 0, 720, 18}, {true, 759, 38, 759, 19, 19},
        {true, 775, 38, 775, 35, 20}, {false, 775, 39, 0, 760, 19}, {true, 760, 38, 760, 20, 20},
        {false, 760, 38, 0, 740, 18}};
    for (const auto& [forward, BookWidth, frames, first, last, reversed] : rows) {
        SCOPED_TRACE(testing::Message() << forward << " " << BookWidth);
        const std::vector<FrameStep> f =
            forward ? ForwardFrames(BookWidth) : BackwardFrames(BookWidth);
        ASSERT_EQ(f.size(), frames);
        EXPECT_EQ(f.back().FlipPos, last);
        // One change of side: the lifted page shows until the free edge has passed the spine.
        const size_t lifted = forward ? reversed : frames - reversed;
        for (size_t k = 0; k < frames; ++k) {
            EXPECT_EQ(f[k].FlipPos, first + (forward ? -20 : 20) * int(k));
            EXPECT_EQ(f[k].Reverse, (k < lifted) == forward);
            EXPECT_TRUE(BookWidth != 750 || f[k].FlipPos != 375);
        }
    }
}

}  // namespace
}  // namespace leafsong
