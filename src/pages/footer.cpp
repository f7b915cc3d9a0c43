#include "pages/footer.h"

namespace leafsong {

void MarkFooter(bool /*footerOn*/, PageBuffer& /*oPic*/, int /*iPage*/, int /*iCount*/) {}

}  // namespace leafsong
