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
    // One turn at a time, and none before the opening spread is complete.
    if (turning_ || !book_.laidOut()) {
        queued_ = r;
        return;
    }
    Begin(r);
}

void PageTurner::LayoutDone() {
    if (!stopped_ && !turning_ && queued_) {
        const Request next = *queued_;
        queued_.reset();
        Begin(next);
    }
}

void PageTurner::Begin(Request r) {
    autoPause_.Stop();
    turning_ = true;
    forward_ = r.forward;
    const AlbumState& st = book_.state();
    qCDebug(lcFlip).nospace() << "turn start " << (forward_ ? "forward" : "backward")
                              << " PageIndex=" << st.PageIndex;
    const int count = book_.File1().ListCount();
    if (count == 0) {
        EndTurn();
        return;
    }
    const bool atEnd = forward_ ? st.PageIndex == count - 1 : st.PageIndex == 0;
    if (!book_.modes().loop && atEnd) {
        // Nothing moves: the gesture's handler switches automatic turning, then the beep.
        if (book_.onEndRule) {
            book_.onEndRule();
        }
        qCDebug(lcFlip) << "beep";
        if (book_.beep) {
            book_.beep();
        }
        EndTurn();
        return;
    }
    const int from = st.PageIndex;
    const int to =
        forward_ ? (from + 1 > count - 1 ? 0 : from + 1) : (from - 1 < 0 ? count - 1 : from - 1);
    // The window keeps working while the two pictures are decoded; a newer layout or the end
    // of the album drops the answers through the ticket.
    const quint64 ticket = ++ticket_;
    const QString fromName = book_.File1().List(from);
    const QString toName = book_.File1().List(to);
    book_.loader().Request(book_.File1().FullPath(from), [this, ticket, fromName, toName,
                                                          to](const DecodedPicture* fromPicture) {
        if (ticket != ticket_) {
            return;
        }
        if (!fromPicture) {
            Fail(fromName);
            return;
        }
        from_ = *fromPicture;
        book_.loader().Request(book_.File1().FullPath(to),
                               [this, ticket, toName, to](const DecodedPicture* toPicture) {
                                   if (ticket != ticket_) {
                                       return;
                                   }
                                   if (!toPicture) {
                                       Fail(toName);
                                       return;
                                   }
                                   to_ = *toPicture;
                                   StartFrames(to);
                               });
    });
}

void PageTurner::Fail(const QString& name) {
    qCDebug(lcFlip) << "cannot decode" << name << "- laying the album out afresh";
    // The album starts again from its first picture without the one that failed.
    book_.Hide(name);
    book_.PutFirst();
}

void PageTurner::StartFrames(int to) {
    AlbumState& st = book_.state();
    const int count = book_.File1().ListCount();
    PageBuffer& fromPage = forward_ ? book_.Pic1() : book_.Pic2();
    PageBuffer& toPage = forward_ ? book_.Pic2() : book_.Pic1();
    const bool keep = book_.modes().proportions;
    fromPage.Assign(from_, keep);
    MarkFooter(book_.modes().footer, fromPage, st.PageIndex, count);
    st.PageIndex = static_cast<std::int16_t>(to);
    toPage.Assign(to_, keep);
    MarkFooter(book_.modes().footer, toPage, st.PageIndex, count);
    Shadow(book_.deco(), book_.Pic1(), book_.Pic2());
    frames_ = forward_ ? ForwardFrames(st.book.BookWidth) : BackwardFrames(st.book.BookWidth);
    frame_ = 0;
    NextFrame();
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
    shown.Assign(to_, book_.modes().proportions);
    MarkFooter(book_.modes().footer, shown, book_.state().PageIndex, book_.File1().ListCount());
    book_.surface().ClearRect(TurnArea(book_.state().book));
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
        Ask({loopForward_});
    } else {
        loop_ = false;
    }
}

void PageTurner::Abandon() {
    queued_.reset();
    ++ticket_;
    if (!turning_) {
        return;
    }
    framePause_.Stop();
    frames_.clear();
    EndTurn();
}

void PageTurner::Stop() {
    stopped_ = true;
    ++ticket_;
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
    book_.loader().Prefetch(
        {book_.File1().FullPath((i + 1) % count), book_.File1().FullPath((i - 1 + count) % count)});
}

}  // namespace leafsong
