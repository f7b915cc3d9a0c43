#include "pages/marks.h"

namespace leafsong {

void Marks::PasteMark(Listing& File1, PageBuffer& /*Pic1*/) {
    File1.Refresh();
}

void Marks::RemoveMark() {}

}  // namespace leafsong
