#pragma once
// Unreadable pictures at the head of the listing are renamed out of it while the album is open.
// Not yet built: for now the listing is only read again.

#include "pages/listing.h"
#include "pages/page_buffer.h"

namespace leafsong {

class Marks {
public:
    // Tests the first two entries of the listing and reads the listing again.
    void PasteMark(Listing& File1, PageBuffer& Pic1);
    // Gives marked files their names back.
    void RemoveMark();
};

}  // namespace leafsong
