#include "platform/signal_pipe.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>

namespace leafsong {

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};
int g_fds[2] = {-1, -1};

extern "C" void OnSignal(int sig) {
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    [[maybe_unused]] const ssize_t n = ::write(g_fds[0], &byte, 1);
    errno = saved;
}

}  // namespace

SignalPipe::SignalPipe(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_fds) != 0) {
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(g_fds[1], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        unsigned char byte = 0;
        while (::read(g_fds[1], &byte, 1) == 1) {
            if (onSignal_) {
                onSignal_(byte);
            }
        }
    });
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (const int sig : kSignals) {
        ::sigaction(sig, &sa, nullptr);
    }
}

SignalPipe::~SignalPipe() {
    for (const int sig : kSignals) {
        ::signal(sig, SIG_DFL);
    }
    notifier_.reset();
    for (int& fd : g_fds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

}  // namespace leafsong
