#pragma once
// The page turn: which picture goes into which buffer, the frames, the final spread, the end
// rules, and automatic turning. The pictures are decoded off the event loop and the frames driven
// from it, so input keeps flowing while a turn waits and draws; a turn is never started inside
// another: one asked for meanwhile waits (at most one, the newest) and starts right after.

#include <functional>
#include <optional>
#include <vector>

#include <QString>

#include "book/page_buffer.h"
#include "book/schedule.h"
#include "platform/pause.h"

namespace leafsong {

class Book;

inline constexpr int kFramePauseMs = 5;
inline constexpr int kAutoPauseMs = 1500;

class PageTurner {
public:
    explicit PageTurner(Book& book);

    // One turn forward (towards the end of the listing) or backward.
    void FlipForward();
    void FlipBackward();
    // Automatic turning in a direction (0 forward, other backward) while AutoFlip is on; returns
    // at once when it is off. Called after AutoFlip was toggled.
    void FlipPage(int Direction);
    // The album was laid out afresh: the rest of the running turn and the waiting one are dropped.
    void Abandon();
    // The opening spread is complete: a turn asked for meanwhile starts.
    void LayoutDone();
    // Stops everything for good (the album is ending).
    void Stop();

    bool turning() const { return turning_; }
    bool looping() const { return loop_; }
    // Each presented frame, for logs and tests.
    std::function<void(int FlipPos, bool Reverse)> onFrame;
    // A turn came to its end (drawn, refused by the end rule, or failed).
    std::function<void()> onTurnEnd;

private:
    struct Request {
        bool forward = true;
    };
    void Ask(Request r);
    void Begin(Request r);
    void Fail(const QString& name);
    void StartFrames(int to);
    void NextFrame();
    void FinishTurn();
    void EndTurn();
    void PauseEnded();
    void PrefetchAround();

    Book& book_;
    Pause framePause_;
    Pause autoPause_;
    bool turning_ = false;
    bool stopped_ = false;
    bool forward_ = true;
    std::vector<FrameStep> frames_;
    size_t frame_ = 0;
    std::optional<Request> queued_;
    quint64 ticket_ = 0;   // the turn whose pictures are awaited
    DecodedPicture from_;  // the pictures of the running turn
    DecodedPicture to_;
    bool loop_ = false;
    bool loopForward_ = true;
};

}  // namespace leafsong
