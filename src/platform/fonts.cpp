#include "platform/fonts.h"

#include "common/nearest.h"

namespace leafsong {

QStringList CjkFamilies() {
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
            QStringLiteral("Droid Sans Fallback"), QStringLiteral("AR PL UMing CN")};
}

int PointsToPixels(double points) {
    return Nearest(points * 96.0 / 72.0);
}

QFont PageFont(double points, bool bold) {
    QFont font;
    font.setFamilies(CjkFamilies());
    font.setPixelSize(PointsToPixels(points));
    font.setBold(bold);
    return font;
}

}  // namespace leafsong
