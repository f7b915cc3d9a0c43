#pragma once
// The page turn: which picture goes into which buffer, the frames, the final spread, the end
// rules, and automatic turning. Frames are driven from the event loop, so input keeps flowing
// during a turn; a turn is never started inside another: one asked for meanwhile waits (at most
// one, the newest) and starts right after.

#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "app/album_state.h"
#include "flip/decorations.h"
#include "flip/schedule.h"
#include "menu/modes.h"
#include "pages/listing.h"
#include "pages/page_buffer.h"
#include "pages/picture_cache.h"
#include "platform/pause.h"
#include "platform/surface.h"

namespace leafsong {

// What a turn reads, writes and calls.
struct TurnServices {
    AlbumState& state;
    Listing& File1;
    PageBuffer& Pic1;
    PageBuffer& Pic2;
    const Decorations& deco;
    Surface& surface;
    const Modes& modes;
    PictureCache& cache;
    std::function<void()> Form_DblClick;  // the end rule's gesture
    std::function<void()> recover;        // lays the album out afresh after a failed turn
    std::function<void()> beep;
};

inline constexpr int kFramePauseMs = 5;
inline constexpr int kAutoPauseMs = 1500;

class PageTurner {
public:
    explicit PageTurner(TurnServices s);

    // One turn forward (towards the end of the listing) or backward.
    void FlipForward();
    void FlipBackward();
    // Automatic turning in a direction (0 forward, other backward) while AutoFlip is on; returns
    // at once when it is off. Called after AutoFlip was toggled.
    void FlipPage(int Direction);
    // The album was laid out afresh: the rest of the running turn and the waiting one are dropped.
    void Abandon();
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
    bool Prepare(bool forward);
    void NextFrame();
    void FinishTurn();
    void EndTurn();
    void PauseEnded();
    bool LoadPage(PageBuffer& pic, int index, int count);
    void PrefetchAround();

    TurnServices s_;
    Pause framePause_;
    Pause autoPause_;
    bool turning_ = false;
    bool stopped_ = false;
    bool forward_ = true;
    std::vector<FrameStep> frames_;
    size_t frame_ = 0;
    std::optional<Request> queued_;
    bool loop_ = false;
    bool loopForward_ = true;
};

}  // namespace leafsong
