#include "book/footer.h"

#include <array>

namespace leafsong {

namespace {

struct Band {
    float upTo;    // the band's upper limit, included
    float offset;  // distance from the edge
};

// The first band whose limit holds is taken, so a size on a limit belongs to the lower band.
float FromBands(float size, const std::array<Band, 5>& bands, float lastOffset, float margin) {
    if (size <= bands[0].upTo) {
        return 0;
    }
    for (size_t i = 1; i < bands.size(); ++i) {
        if (size <= bands[i].upTo) {
            return size - bands[i].offset - margin;
        }
    }
    return size - lastOffset - margin;
}

constexpr std::array<Band, 5> kWidthBands{{{60, 0}, {150, 30}, {600, 60}, {1200, 90}, {1800, 120}}};
constexpr std::array<Band, 5> kHeightBands{{{40, 0}, {100, 20}, {400, 40}, {800, 60}, {1200, 80}}};

}  // namespace

double FooterX(double w) {
    return FromBands(float(w), kWidthBands, 180, 15);
}

double FooterY(double h) {
    return FromBands(float(h), kHeightBands, 120, 10);
}

double FooterPoints(double w) {
    return w > 900 ? 24 : 18;
}

void MarkFooter(bool footerOn, PageBuffer& oPic, int iPage, int iCount) {
    if (!footerOn) {
        return;
    }
    oPic.ClearText();
    TextState& t = oPic.text();
    t.FontBold = true;
    t.ForeColor = QColor(255, 0, 0);
    t.FontSize = FooterPoints(oPic.ScaleWidth());
    t.CurrentX = FooterX(oPic.ScaleWidth());
    t.CurrentY = FooterY(oPic.ScaleHeight());
    oPic.Print(QStringLiteral("%1/%2").arg(iPage + 1).arg(iCount));
}

}  // namespace leafsong
