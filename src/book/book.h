#pragma once
// The book: the album folder's listing, the two page buffers, the decoded pictures, the
// decorations and the page turn, laid out on the window's surface.

#include <QString>
#include <functional>

#include "book/decorations.h"
#include "book/listing.h"
#include "book/page_buffer.h"
#include "book/page_turner.h"
#include "book/picture_loader.h"
#include "core/album_state.h"
#include "core/modes.h"
#include "platform/clock.h"
#include "platform/surface.h"

namespace leafsong {

class Book {
public:
    // state and modes are the album's, read at every use; pictures are drawn on surface.
    Book(AlbumState& state, const Modes& modes, Surface& surface, const Clock& clock);
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    // Loads the cover and border, when not yet loaded (the shading follows once the opening
    // spread is laid out), and scales them for the book as placed now. The first spread drawn
    // loads them itself: a caller may open the folder first, so that its first picture is
    // decoded meanwhile.
    void LoadDecorations();

    // The folder becomes the album folder and the book opens at its picture named first (a file
    // name in the folder), or at its first picture when that is empty or not listed.
    void OpenFolder(const QString& folder, const QString& first = {});
    // Lays the book out afresh from its first picture, or from the one named (or the information
    // page of an empty folder), dropping a running turn and the one waiting. Pictures are decoded
    // off the event loop: the first is shown as soon as it is decoded, and a picture that cannot
    // be decoded is hidden and the next one tried, until two are readable or none is left.
    void PutFirst(const QString& first = {});
    // True once the opening spread is complete (both first pages tested); turns asked for
    // before then wait for it.
    bool laidOut() const { return laidOut_; }

    // One turn towards the end of the listing, or towards its start. A turn asked for during
    // another waits (only the newest) and follows it.
    void FlipForward() { turner_.FlipForward(); }
    void FlipBackward() { turner_.FlipBackward(); }
    // Automatic turning (Direction 0 forward, other backward) while AutoFlip is on.
    void FlipPage(int Direction) { turner_.FlipPage(Direction); }

    // Leaves a picture of the listing out of the album, and out of its count, for the rest of
    // the run: it cannot be decoded. Its file is never touched.
    void Hide(const QString& name);

    // Ends every turn and layout for good and drops the decorations (the album is ending).
    void Close();

    // Pictures in the listing.
    int Count() const { return File1_.ListCount(); }

    // Called by a turn that meets the end of the listing with the loop mode off: the gesture that
    // switches automatic turning, then the beep.
    std::function<void()> onEndRule;
    std::function<void()> beep;
    // The opening spread was completed (for the start-up log and tests).
    std::function<void()> onLaidOut;

    AlbumState& state() { return state_; }
    const Modes& modes() const { return modes_; }
    Surface& surface() { return surface_; }
    Listing& File1() { return File1_; }
    PageBuffer& Pic1() { return Pic1_; }
    PageBuffer& Pic2() { return Pic2_; }
    PictureLoader& loader() { return loader_; }
    const Decorations& deco() const { return deco_; }
    PageTurner& turner() { return turner_; }

private:
    void ShowFirst(quint64 layout);
    void FillSecond(quint64 layout);
    void ShowInfoPage();
    void DrawOpeningSpread();
    void FinishLayout();

    AlbumState& state_;
    const Modes& modes_;
    Surface& surface_;
    const Clock& clock_;
    Listing File1_;
    PageBuffer Pic1_;
    PageBuffer Pic2_;
    PictureLoader loader_;
    Decorations deco_;
    PageTurner turner_;
    quint64 layout_ = 0;  // the latest PutFirst: results for an earlier one are dropped
    int start_ = 0;       // the listing index the latest PutFirst opens at
    bool laidOut_ = false;
};

}  // namespace leafsong
