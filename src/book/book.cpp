#include "book/book.h"

#include "book/opening_spread.h"

namespace leafsong {

Book::Book(AlbumState& state, const Modes& modes, Surface& surface, const Clock& clock,
           MarkJournal* journal)
    : state_(state),
      modes_(modes),
      surface_(surface),
      clock_(clock),
      marks_(journal),
      turner_(*this) {}

void Book::LoadDecorations(const QString& folder) {
    deco_.LoadFrom(folder);
}

void Book::OpenFolder(const QString& folder) {
    state_.PicturePath = folder;
    File1_.SetPath(folder);
    PutFirst();
}

void Book::PutFirst() {
    turner_.Abandon();
    PutFirstSpread(*this);
    const int count = File1_.ListCount();
    if (count > 2) {
        // The next turn either way.
        cache_.Prefetch({File1_.FullPath(count - 1), File1_.FullPath(2)});
    }
}

void Book::Close() {
    turner_.Stop();
    marks_.RemoveMark();
    deco_.Release();
}

}  // namespace leafsong
