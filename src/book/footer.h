#pragma once
// Page numbers ("3/12") in the lower right corner of a page buffer, in red bold, placed in the
// picture's own pixels.

#include "book/page_buffer.h"

namespace leafsong {

// Where the footer's text starts for a picture of w x h logical pixels.
double FooterX(double w);
double FooterY(double h);
// Its size in points: larger on wide pictures.
double FooterPoints(double w);

// With footerOn, erases what was drawn on the buffer since its load and writes "iPage+1/iCount";
// without it, leaves the buffer exactly as it is.
void MarkFooter(bool footerOn, PageBuffer& oPic, int iPage, int iCount);

}  // namespace leafsong
