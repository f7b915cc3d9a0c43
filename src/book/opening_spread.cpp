#include "book/opening_spread.h"

#include <algorithm>

#include "book/book.h"

#include "book/footer.h"
#include "book/spread.h"
#include "core/contact.h"
#include "core/texts.h"
#include "platform/log.h"

namespace leafsong {

namespace {

constexpr char kInfoPageTexts[] = "leafsong::InfoPage";

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

}  // namespace

void WriteInfoPage(PageBuffer& pic, bool birthday) {
    pic.LoadEmpty(QSize(750, 500));
    TextState& t = pic.text();
    t.ForeColor = QColor::fromRgb(kGreyText);
    t.FontBold = true;
    t.FontSize = 18;
    t.CurrentY = pic.ScaleHeight() / 4;
    t.CurrentX = kStatusLine.x;
    pic.Print(UserText(kInfoPageTexts, kStatusLine.text));
    t.CurrentX = 161;
    if (birthday) {
        t.ForeColor = QColor(255, 0, 255);
        pic.Print(UserText(kInfoPageTexts, u"恭贺： Happy Birthday To You!"));
    } else {
        pic.Print(QStringLiteral(" "));
    }
    t.ForeColor = QColor::fromRgb(kGreyText);
    for (const InfoLine& line : kNameLines) {
        t.CurrentX = line.x;
        pic.Print(UserText(kInfoPageTexts, line.text));
    }
    for (size_t i = 0; i < kContactLines.size(); ++i) {
        t.CurrentX = kContactX[i];
        pic.Print(QString::fromUtf16(kContactLines[i].label) + UserText(kInfoPageTexts, u"： ") +
                  QString::fromUtf16(kContactLines[i].value));
    }
}

void Book::PutFirst(const QString& first) {
    const quint64 layout = ++layout_;
    laidOut_ = false;
    turner_.Abandon();
    loader_.CancelAll();
    // Pictures hidden earlier stay out; the folder may have changed since it was read.
    File1_.Refresh();
    start_ = first.isEmpty() ? 0 : std::max(0, File1_.IndexOf(first));
    ShowFirst(layout);
}

void Book::ShowFirst(quint64 layout) {
    const int count = File1_.ListCount();
    if (count == 0) {
        start_ = 0;
        state_.PageIndex = 0;
        ShowInfoPage();
        return;
    }
    // The picture after a hidden one moved into its place; past the last, the book wraps.
    if (start_ >= count) {
        start_ = 0;
    }
    state_.PageIndex = static_cast<std::int16_t>(start_);
    const QString name = File1_.List(start_);
    loader_.Request(File1_.FullPath(start_), [this, layout, name](const DecodedPicture* picture) {
        if (layout != layout_) {
            return;
        }
        if (!picture) {
            Hide(name);
            ShowFirst(layout);
            return;
        }
        Pic1_.Assign(*picture, modes_.proportions);
        MarkFooter(modes_.footer, Pic1_, start_, File1_.ListCount());
        DrawOpeningSpread();
        FillSecond(layout);
    });
}

void Book::FillSecond(quint64 layout) {
    const int count = File1_.ListCount();
    if (count < 2) {
        FinishLayout();
        return;
    }
    // The picture a forward turn shows next, in listing order.
    const int second = (start_ + 1) % count;
    const QString name = File1_.List(second);
    loader_.Request(File1_.FullPath(second),
                    [this, layout, name, second](const DecodedPicture* picture) {
                        if (layout != layout_) {
                            return;
                        }
                        if (!picture) {
                            Hide(name);
                            // Hiding a picture before the one shown moves that one up the listing.
                            if (second < start_) {
                                --start_;
                                state_.PageIndex = static_cast<std::int16_t>(start_);
                            }
                            // The count, or the number, written on the page shown has changed.
                            if (modes_.footer) {
                                MarkFooter(true, Pic1_, start_, File1_.ListCount());
                                DrawOpeningSpread();
                            }
                            FillSecond(layout);
                            return;
                        }
                        Pic2_.Assign(*picture, modes_.proportions);
                        MarkFooter(modes_.footer, Pic2_, second, File1_.ListCount());
                        FinishLayout();
                    });
}

void Book::ShowInfoPage() {
    WriteInfoPage(Pic1_, IsBirthday(clock_));
    WriteInfoPage(Pic2_, IsBirthday(clock_));
    DrawOpeningSpread();
    FinishLayout();
}

void Book::DrawOpeningSpread() {
    LoadDecorations();
    surface_.Clear();
    DrawSpread(surface_, state_.book, deco_, Pic1_);
    surface_.Present();
}

void Book::FinishLayout() {
    laidOut_ = true;
    // The first turn must not wait for the shading to be read and scaled.
    if (!deco_.shadowsLoaded()) {
        deco_.LoadShadows();
        deco_.Prepare(state_.book, kPageSize);
    }
    const int count = File1_.ListCount();
    qCDebug(lcPages) << "opening spread of" << File1_.Path() << "count" << count;
    if (count > 2) {
        // The next turn either way.
        loader_.Prefetch({File1_.FullPath(2), File1_.FullPath(count - 1)});
    }
    if (onLaidOut) {
        onLaidOut();
    }
    turner_.LayoutDone();
}

}  // namespace leafsong
