#pragma once
// Page numbers in the lower right corner of a page buffer. Not yet built: draws nothing.

#include "pages/page_buffer.h"

namespace leafsong {

// Writes "iPage+1/iCount" into the buffer when footerOn; leaves it untouched otherwise.
void MarkFooter(bool footerOn, PageBuffer& oPic, int iPage, int iCount);

}  // namespace leafsong
