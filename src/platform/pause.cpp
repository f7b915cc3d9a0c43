#include "platform/pause.h"

namespace leafsong {

Pause::Pause() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        // done may start the next pause.
        auto done = std::move(done_);
        done_ = nullptr;
        if (done) {
            done();
        }
    });
}

void Pause::Start(int ms, std::function<void()> done) {
    done_ = std::move(done);
    timer_.start(ms);
}

void Pause::Stop() {
    timer_.stop();
    done_ = nullptr;
}

}  // namespace leafsong
