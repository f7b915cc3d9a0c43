#pragma once
// The book: the album folder's listing, the two page buffers, the decoded pictures, the
// unreadable ones, the decorations and the page turn, laid out on the window's surface.

#include <QString>
#include <functional>

#include "book/decorations.h"
#include "book/listing.h"
#include "book/page_buffer.h"
#include "book/page_turner.h"
#include "book/picture_cache.h"
#include "book/unreadable.h"
#include "core/album_state.h"
#include "core/modes.h"
#include "platform/clock.h"
#include "platform/surface.h"

namespace leafsong {

class Book {
public:
    // state and modes are the album's, read at every use; pictures are drawn on surface. journal
    // (may be null) keeps the names of renamed pictures on disk.
    Book(AlbumState& state, const Modes& modes, Surface& surface, const Clock& clock,
         MarkJournal* journal = nullptr);
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;

    // Loads the decoration pictures from the files in folder.
    void LoadDecorations(const QString& folder);

    // The folder becomes the album folder and the book opens at its first picture.
    void OpenFolder(const QString& folder);
    // Lays the book out afresh from its first picture (or the information page of an empty
    // folder), dropping a running turn and the one waiting.
    void PutFirst();

    // One turn towards the end of the listing, or towards its start. A turn asked for during
    // another waits (only the newest) and follows it.
    void FlipForward() { turner_.FlipForward(); }
    void FlipBackward() { turner_.FlipBackward(); }
    // Automatic turning (Direction 0 forward, other backward) while AutoFlip is on.
    void FlipPage(int Direction) { turner_.FlipPage(Direction); }

    // Ends every turn for good, gives the renamed pictures their names back and drops the
    // decorations (the album is ending).
    void Close();

    // Pictures in the listing.
    int Count() const { return File1_.ListCount(); }

    // Called by a turn that meets the end of the listing with the loop mode off: the gesture that
    // switches automatic turning, then the beep.
    std::function<void()> onEndRule;
    std::function<void()> beep;

    AlbumState& state() { return state_; }
    const Modes& modes() const { return modes_; }
    Surface& surface() { return surface_; }
    const Clock& clock() const { return clock_; }
    Listing& File1() { return File1_; }
    PageBuffer& Pic1() { return Pic1_; }
    PageBuffer& Pic2() { return Pic2_; }
    PictureCache& cache() { return cache_; }
    Marks& marks() { return marks_; }
    const Decorations& deco() const { return deco_; }
    PageTurner& turner() { return turner_; }

private:
    AlbumState& state_;
    const Modes& modes_;
    Surface& surface_;
    const Clock& clock_;
    Listing File1_;
    PageBuffer Pic1_;
    PageBuffer Pic2_;
    PictureCache cache_;
    Marks marks_;
    Decorations deco_;
    PageTurner turner_;
};

}  // namespace leafsong
