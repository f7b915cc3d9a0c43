#include "book/opening_spread.h"

#include "book/book.h"

#include "book/footer.h"
#include "book/spread.h"
#include "core/contact.h"
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

bool LoadPage(Book& book, PageBuffer& pic, int index) {
    return book.cache().Load(pic, book.File1().FullPath(index));
}

// Loads the first one or two entries; false at the first picture that does not load.
bool LoadFirstPages(Book& book, int count) {
    if (!LoadPage(book, book.Pic1(), 0)) {
        return false;
    }
    MarkFooter(book.modes().footer, book.Pic1(), 0, count);
    if (count > 1) {
        if (!LoadPage(book, book.Pic2(), 1)) {
            return false;
        }
        MarkFooter(book.modes().footer, book.Pic2(), 1, count);
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

void PutFirstSpread(Book& book) {
    book.marks().RemoveMark();
    book.marks().PasteMark(book.File1(), book.Pic1());

    book.state().PageIndex = 0;
    const int count = book.File1().ListCount();
    bool ok = true;
    if (count > 0) {
        ok = LoadFirstPages(book, count);
    } else {
        WriteInfoPage(book.Pic1(), IsBirthday(book.clock()));
        WriteInfoPage(book.Pic2(), IsBirthday(book.clock()));
    }
    // When a picture failed, the surface keeps what it showed around the book.
    if (ok) {
        book.surface().Clear();
    }
    qCDebug(lcPages) << "opening spread of" << book.File1().Path() << "count" << count << "ok"
                     << ok;
    DrawSpread(book.surface(), book.state().book, book.deco(), book.Pic1());
    book.surface().Present();
}

}  // namespace leafsong
