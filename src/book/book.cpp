#include "book/book.h"

namespace leafsong {

Book::Book(AlbumState& state, const Modes& modes, Surface& surface, const Clock& clock)
    : state_(state), modes_(modes), surface_(surface), clock_(clock), turner_(*this) {}

void Book::LoadDecorations() {
    if (!deco_.CoverPng.isLoaded()) {
        deco_.LoadSpread();
    }
    deco_.Prepare(state_.book, kPageSize);
}

void Book::OpenFolder(const QString& folder, const QString& first) {
    state_.PicturePath = folder;
    File1_.SetPath(folder);
    PutFirst(first);
}

void Book::Hide(const QString& name) {
    File1_.Exclude(name);
}

void Book::Close() {
    ++layout_;
    turner_.Stop();
    loader_.CancelAll();
    deco_.Release();
}

}  // namespace leafsong
