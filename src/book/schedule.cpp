#include "book/schedule.h"

#include "common/nearest.h"

namespace leafsong {

namespace {
constexpr int kStep = 20;
}  // namespace

std::vector<FrameStep> ForwardFrames(int BookWidth) {
    std::vector<FrameStep> frames;
    const int stop = Nearest(BookWidth / 50.0);
    const double spine = BookWidth / 2.0;  // a real number: an odd width puts it between columns
    for (int FlipPos = BookWidth; FlipPos >= stop; FlipPos -= kStep) {
        frames.push_back({FlipPos, FlipPos >= spine});
    }
    return frames;
}

std::vector<FrameStep> BackwardFrames(int BookWidth) {
    std::vector<FrameStep> frames;
    const int stop = Nearest(BookWidth - BookWidth / 50.0);
    const double spine = BookWidth / 2.0;
    for (int FlipPos = 0; FlipPos <= stop; FlipPos += kStep) {
        frames.push_back({FlipPos, FlipPos > spine});
    }
    return frames;
}

}  // namespace leafsong
