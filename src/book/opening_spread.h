#pragma once
// The information page, shown for a folder without pictures. (Book::PutFirst, the opening
// spread, is defined with it.)

#include <QColor>

#include "book/page_buffer.h"

namespace leafsong {

// Writes the information page into a buffer (750 x 500), with the greeting line on the greeting
// date.
void WriteInfoPage(PageBuffer& pic, bool birthday);

// Colour of the information page's text.
inline constexpr QRgb kGreyText = qRgb(109, 109, 109);

}  // namespace leafsong
