#pragma once
// Which frames a page turn draws: the leaf's free-edge positions and the side it shows.

#include <vector>

namespace leafsong {

struct FrameStep {
    int FlipPos = 0;       // the free edge's x offset from the book's left edge
    bool Reverse = false;  // the leaf still shows the page it lifted from
};

// A forward turn: the free edge from the book's right edge leftwards in steps of 20, while it is
// at least BookWidth / 50 from the left edge.
std::vector<FrameStep> ForwardFrames(int BookWidth);

// A backward turn: from the left edge rightwards in steps of 20, while it is at least
// BookWidth / 50 short of the right edge.
std::vector<FrameStep> BackwardFrames(int BookWidth);

}  // namespace leafsong
