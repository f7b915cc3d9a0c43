#include "platform/clock.h"

namespace leafsong {

bool IsBirthday(const Clock& clock) {
    return clock.today().toString(QStringLiteral("yyyy-MM-dd")).endsWith(QLatin1String("06-05"));
}

}  // namespace leafsong
