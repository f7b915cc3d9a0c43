#include "book/decorations.h"

#include "common/path_utils.h"
#include "core/resources.h"

namespace leafsong {

void Decorations::LoadFrom(const QString& folder) {
    auto path = [&](int i) {
        return JoinPath(folder, QString::fromLatin1(kDecorationFiles[i].fileName));
    };
    ShadowPng[0].Load(path(0));
    ShadowPng[1].Load(path(1));
    BorderPng.Load(path(2));
    CoverPng.Load(path(3));
}

void Decorations::Release() {
    ShadowPng[0].Release();
    ShadowPng[1].Release();
    BorderPng.Release();
    CoverPng.Release();
}

}  // namespace leafsong
