#include "platform/start_environment.h"

#include <optional>

namespace leafsong {

namespace {

// Written once at the start of main, before any other thread exists.
std::optional<QProcessEnvironment>& Captured() {
    static std::optional<QProcessEnvironment> environment;
    return environment;
}

}  // namespace

void CaptureStartEnvironment() {
    if (!Captured()) {
        Captured() = QProcessEnvironment::systemEnvironment();
    }
}

QProcessEnvironment StartEnvironment() {
    const std::optional<QProcessEnvironment>& captured = Captured();
    return captured ? *captured : QProcessEnvironment::systemEnvironment();
}

}  // namespace leafsong
