#include "book/page_turner.h"

#include "book/book.h"

#include "book/footer.h"
#include "book/frame.h"
#include "book/shadow.h"
#include "book/spread.h"
#include "platform/log.h"

namespace leafsong {

PageTurner::PageTurner(Book& book) : book_(book) {}

void PageTurner::FlipForward() {
    Ask({true});
}

void PageTurner::FlipBackward() {
    Ask({false});
}

void PageTurner::FlipPage(int Direction) {
    if (stopped_ || !book_.state().AutoFlip) {
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
                              << " PageIndex=" << book_.state().PageIndex;
    if (!Prepare(forward_)) {
        // A failure may already have ended the turn through the album's fresh layout.
        if (turning_) {
            EndTurn();
        }
        return;
    }
    frames_ = forward_ ? ForwardFrames(book_.state().book.BookWidth)
                       : BackwardFrames(book_.state().book.BookWidth);
    frame_ = 0;
    NextFrame();
}

bool PageTurner::LoadPage(PageBuffer& pic, int index, int count) {
    if (!book_.cache().Load(pic, book_.File1().FullPath(index))) {
        qCDebug(lcFlip) << "cannot load" << book_.File1().FullPath(index);
        return false;
    }
    MarkFooter(book_.modes().footer, pic, index, count);
    return true;
}

bool PageTurner::Prepare(bool forward) {
    AlbumState& st = book_.state();
    const int count = book_.File1().ListCount();
    if (count == 0) {
        return false;
    }
    const bool atEnd = forward ? st.PageIndex == count - 1 : st.PageIndex == 0;
    if (!book_.modes().loop && atEnd) {
        // Nothing moves: the gesture's handler switches automatic turning, then the beep.
        if (book_.onEndRule) {
            book_.onEndRule();
        }
        qCDebug(lcFlip) << "beep";
        if (book_.beep) {
            book_.beep();
        }
        return false;
    }
    PageBuffer& from = forward ? book_.Pic1() : book_.Pic2();
    PageBuffer& to = forward ? book_.Pic2() : book_.Pic1();
    bool ok = LoadPage(from, st.PageIndex, count);
    if (ok) {
        if (forward) {
            st.PageIndex = st.PageIndex + 1 > count - 1 ? 0 : st.PageIndex + 1;
        } else {
            st.PageIndex = st.PageIndex - 1 < 0 ? count - 1 : st.PageIndex - 1;
        }
        ok = LoadPage(to, st.PageIndex, book_.File1().ListCount());
    }
    if (!ok) {
        book_.PutFirst();
        return false;
    }
    Shadow(book_.deco(), book_.Pic1(), book_.Pic2());
    return true;
}

void PageTurner::NextFrame() {
    if (frame_ >= frames_.size()) {
        FinishTurn();
        return;
    }
    const FrameStep step = frames_[frame_++];
    Blting(book_.surface(), book_.state().book, book_.deco(), book_.Pic1(), book_.Pic2(),
           step.FlipPos, step.Reverse);
    book_.surface().Present();
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
    PageBuffer& shown = forward_ ? book_.Pic2() : book_.Pic1();
    book_.surface().ClearRect(TurnArea(book_.state().book));
    if (!LoadPage(shown, book_.state().PageIndex, book_.File1().ListCount())) {
        book_.PutFirst();
        if (turning_) {
            EndTurn();
        }
        return;
    }
    DrawSpread(book_.surface(), book_.state().book, book_.deco(), shown);
    book_.surface().Present();
    EndTurn();
}

void PageTurner::EndTurn() {
    turning_ = false;
    qCDebug(lcFlip).nospace() << "turn end PageIndex=" << book_.state().PageIndex;
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
    if (book_.state().AutoFlip) {
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
    const int count = book_.File1().ListCount();
    if (count == 0) {
        return;
    }
    const int i = book_.state().PageIndex;
    book_.cache().Prefetch(
        {book_.File1().FullPath((i + 1) % count), book_.File1().FullPath((i - 1 + count) % count)});
}

}  // namespace leafsong
