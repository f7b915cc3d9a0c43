#include "pages/put_first.h"

#include "common/contact.h"
#include "flip/still_spread.h"
#include "pages/footer.h"
#include "platform/log.h"

namespace leafsong {

namespace {

struct InfoLine {
    double x;
    const char16_t* text;
};

// The page's lines after the greeting line, and where each starts; the colon is the full-width
// one.
constexpr InfoLine kStatusLine{161, u"状态： 无图片加载"};
constexpr InfoLine kNameLines[] = {
    {113, u"软件名称： Leafsong"},
    {103, u"Publisher： Harrowfen (Harrowfen)"},
};
constexpr double kContactX[] = {150, 78, 175, 124};

bool LoadPage(PageServices& s, PageBuffer& pic, int index) {
    const QString path = s.File1.FullPath(index);
    return s.cache ? s.cache->Load(pic, path) : pic.Load(path);
}

// Loads the first one or two entries; false at the first picture that does not load.
bool LoadFirstPages(PageServices& s, int count) {
    if (!LoadPage(s, s.Pic1, 0)) {
        return false;
    }
    MarkFooter(s.modes.Footer(), s.Pic1, 0, count);
    if (count > 1) {
        if (!LoadPage(s, s.Pic2, 1)) {
            return false;
        }
        MarkFooter(s.modes.Footer(), s.Pic2, 1, count);
    }
    return true;
}

}  // namespace

void WriteInfoPage(PageBuffer& pic, bool birthday) {
    pic.LoadEmpty(QSize(750, 500));
    TextState& t = pic.text();
    t.ForeColor = QColor::fromRgb(kGreyText);
    t.FontBold = true;
    t.FontSize = 18;
    t.CurrentY = pic.ScaleHeight() / 4;
    t.CurrentX = kStatusLine.x;
    pic.Print(QString::fromUtf16(kStatusLine.text));
    t.CurrentX = 161;
    if (birthday) {
        t.ForeColor = QColor(255, 0, 255);
        pic.Print(QStringLiteral("恭贺： Happy Birthday To You!"));
    } else {
        pic.Print(QStringLiteral(" "));
    }
    t.ForeColor = QColor::fromRgb(kGreyText);
    for (const InfoLine& line : kNameLines) {
        t.CurrentX = line.x;
        pic.Print(QString::fromUtf16(line.text));
    }
    for (size_t i = 0; i < kContactLines.size(); ++i) {
        t.CurrentX = kContactX[i];
        pic.Print(QString::fromUtf16(kContactLines[i].label) + QStringLiteral("： ") +
                  QString::fromUtf16(kContactLines[i].value));
    }
}

void PutFirst(PageServices& s) {
    s.marks.RemoveMark();
    s.marks.PasteMark(s.File1, s.Pic1);

    s.state.PageIndex = 0;
    const int count = s.File1.ListCount();
    bool ok = true;
    if (count > 0) {
        ok = LoadFirstPages(s, count);
    } else {
        WriteInfoPage(s.Pic1, IsBirthday(s.clock));
        WriteInfoPage(s.Pic2, IsBirthday(s.clock));
    }
    // When a picture failed, the surface keeps what it showed around the book.
    if (ok) {
        s.surface.Clear();
    }
    qCDebug(lcPages) << "opening spread of" << s.File1.Path() << "count" << count << "ok" << ok;
    DrawSpread(s.surface, s.state.book, s.deco, s.Pic1);
    s.surface.Present();
}

}  // namespace leafsong
