#pragma once
// The opening spread: the book laid out afresh from its first picture.

#include <QColor>

#include "book/page_buffer.h"

namespace leafsong {

class Book;

// Puts the first picture (or the information page of an empty album) on the book: restores and
// re-tests the marked pictures, sets PageIndex to 0, fills Pic1 and Pic2 and presents Pic1
// framed. A running turn must have been dropped first.
void PutFirstSpread(Book& book);

// Writes the information page into a buffer (750 x 500), with the greeting line on the greeting
// date.
void WriteInfoPage(PageBuffer& pic, bool birthday);

// Colour of the information page's text.
inline constexpr QRgb kGreyText = qRgb(109, 109, 109);

}  // namespace leafsong
