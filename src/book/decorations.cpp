#include "book/decorations.h"

#include "core/resources.h"

namespace leafsong {

namespace {

QString Resource(int i) {
    return QString::fromLatin1(kDecorationFiles[i].resource);
}

}  // namespace

void Decorations::LoadSpread() {
    BorderPng.Load(Resource(2));
    CoverPng.Load(Resource(3));
}

void Decorations::LoadShadows() {
    ShadowPng[0].Load(Resource(0));
    ShadowPng[1].Load(Resource(1));
}

void Decorations::Prepare(const BookGeometry& book, QSize page) const {
    // Every frame of a turn draws the cover afresh, over the key colour: needed once the
    // shading is, for the first turn.
    CoverPng.Prepare(book.coverRect().size(), shadowsLoaded());
    BorderPng.Prepare(QSize(book.BookWidth, book.BookHeight));
    BorderPng.Prepare(page);
    ShadowPng[0].Prepare(page);
    ShadowPng[1].Prepare(page);
}

void Decorations::Release() {
    ShadowPng[0].Release();
    ShadowPng[1].Release();
    BorderPng.Release();
    CoverPng.Release();
}

}  // namespace leafsong
