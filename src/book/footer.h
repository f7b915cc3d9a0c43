#pragma once
// Page numbers ("3/12") in the lower right corner of a page buffer, in red bold. The size and
// place follow the buffer's size; a page holding a picture is 750 x 500 whatever the file's size,
// so every number reads alike: 18 points at (645, 430).

#include "book/page_buffer.h"

namespace leafsong {

// Where the footer's text starts on a buffer of w x h pixels.
double FooterX(double w);
double FooterY(double h);
// Its size in points: larger on wide pictures.
double FooterPoints(double w);

// With footerOn, erases what was drawn on the buffer since its load and writes "iPage+1/iCount";
// without it, leaves the buffer exactly as it is.
void MarkFooter(bool footerOn, PageBuffer& oPic, int iPage, int iCount);

}  // namespace leafsong
