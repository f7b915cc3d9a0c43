#include "flip/page_turner.h"

#include "flip/frame.h"
#include "flip/shadow.h"
#include "flip/still_spread.h"
#include "pages/footer.h"
#include "platform/log.h"

namespace leafsong {

PageTurner::PageTurner(TurnServices s) : s_(std::move(s)) {}

void PageTurner::FlipForward() {
    Ask({true});
}

void PageTurner::FlipBackward() {
    Ask({false});
}

void PageTurner::FlipPage(int Direction) {
    if (stopped_ || !s_.state.AutoFlip) {
        return;
    }
    loop_ = true;
    loopForward_ = Direction == 0;
    Ask({loopForward_});
}

void PageTurner::Ask(Request r) {
    if (stopped_) {
        return;
    }
    if (turning_) {
        queued_ = r;
        return;
    }
    Begin(r);
}

void PageTurner::Begin(Request r) {
    autoPause_.Stop();
    turning_ = true;
    forward_ = r.forward;
    qCDebug(lcFlip).nospace() << "turn start " << (forward_ ? "forward" : "backward")
                              << " PageIndex=" << s_.state.PageIndex;
    if (!Prepare(forward_)) {
        // A failure may already have ended the turn through the album's fresh layout.
        if (turning_) {
            EndTurn();
        }
        return;
    }
    frames_ =
        forward_ ? ForwardFrames(s_.state.book.BookWidth) : BackwardFrames(s_.state.book.BookWidth);
    frame_ = 0;
    NextFrame();
}

bool PageTurner::LoadPage(PageBuffer& pic, int index, int count) {
    if (!s_.cache.Load(pic, s_.File1.FullPath(index))) {
        qCDebug(lcFlip) << "cannot load" << s_.File1.FullPath(index);
        return false;
    }
    MarkFooter(s_.modes.Footer(), pic, index, count);
    return true;
}

bool PageTurner::Prepare(bool forward) {
    AlbumState& st = s_.state;
    const int count = s_.File1.ListCount();
    if (count == 0) {
        return false;
    }
    const bool atEnd = forward ? st.PageIndex == count - 1 : st.PageIndex == 0;
    if (!s_.modes.Loop() && atEnd) {
        // Nothing moves: the gesture's handler switches automatic turning, then the beep.
        if (s_.Form_DblClick) {
            s_.Form_DblClick();
        }
        qCDebug(lcFlip) << "beep";
        if (s_.beep) {
            s_.beep();
        }
        return false;
    }
    PageBuffer& from = forward ? s_.Pic1 : s_.Pic2;
    PageBuffer& to = forward ? s_.Pic2 : s_.Pic1;
    bool ok = LoadPage(from, st.PageIndex, count);
    if (ok) {
        if (forward) {
            st.PageIndex = st.PageIndex + 1 > count - 1 ? 0 : st.PageIndex + 1;
        } else {
            st.PageIndex = st.PageIndex - 1 < 0 ? count - 1 : st.PageIndex - 1;
        }
        ok = LoadPage(to, st.PageIndex, s_.File1.ListCount());
    }
    if (!ok) {
        if (s_.recover) {
            s_.recover();
        }
        return false;
    }
    Shadow(s_.deco, s_.Pic1, s_.Pic2);
    return true;
}

void PageTurner::NextFrame() {
    if (frame_ >= frames_.size()) {
        FinishTurn();
        return;
    }
    const FrameStep step = frames_[frame_++];
    Blting(s_.surface, s_.state.book, s_.deco, s_.Pic1, s_.Pic2, step.FlipPos, step.Reverse);
    s_.surface.Present();
    qCDebug(lcFlip).nospace() << "frame FlipPos=" << step.FlipPos
                              << " Reverse=" << (step.Reverse ? 1 : 0);
    if (onFrame) {
        onFrame(step.FlipPos, step.Reverse);
    }
    framePause_.Start(kFramePauseMs, [this] { NextFrame(); });
}

void PageTurner::FinishTurn() {
    frames_.clear();
    // The still spread of the new picture, from a fresh copy: the shading is dropped.
    PageBuffer& shown = forward_ ? s_.Pic2 : s_.Pic1;
    s_.surface.ClearRect(TurnArea(s_.state.book));
    if (!LoadPage(shown, s_.state.PageIndex, s_.File1.ListCount())) {
        if (s_.recover) {
            s_.recover();
        }
        if (turning_) {
            EndTurn();
        }
        return;
    }
    DrawSpread(s_.surface, s_.state.book, s_.deco, shown);
    s_.surface.Present();
    EndTurn();
}

void PageTurner::EndTurn() {
    turning_ = false;
    qCDebug(lcFlip).nospace() << "turn end PageIndex=" << s_.state.PageIndex;
    PrefetchAround();
    if (onTurnEnd) {
        onTurnEnd();
    }
    if (stopped_) {
        return;
    }
    if (queued_) {
        const Request next = *queued_;
        queued_.reset();
        Begin(next);
        return;
    }
    if (loop_) {
        autoPause_.Start(kAutoPauseMs, [this] { PauseEnded(); });
    }
}

void PageTurner::PauseEnded() {
    if (s_.state.AutoFlip) {
        Begin({loopForward_});
    } else {
        loop_ = false;
    }
}

void PageTurner::Abandon() {
    queued_.reset();
    if (!turning_) {
        return;
    }
    framePause_.Stop();
    frames_.clear();
    EndTurn();
}

void PageTurner::Stop() {
    stopped_ = true;
    queued_.reset();
    framePause_.Stop();
    autoPause_.Stop();
    frames_.clear();
    turning_ = false;
}

void PageTurner::PrefetchAround() {
    const int count = s_.File1.ListCount();
    if (count == 0) {
        return;
    }
    const int i = s_.state.PageIndex;
    s_.cache.Prefetch(
        {s_.File1.FullPath((i + 1) % count), s_.File1.FullPath((i - 1 + count) % count)});
}

}  // namespace leafsong
