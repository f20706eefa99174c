#include "ui/termination_signals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <atomic>
#include <csignal>

namespace chat {
namespace {

std::atomic<int> signalWriteFd{-1};
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

void writeSignalByte(int /*signal*/) {
    const int fd = signalWriteFd.load();
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
    int expected = -1;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) {
        return;
    }
    if (!signalWriteFd.compare_exchange_strong(expected, fds_[1])) {
        return;
    }
    notifier_ = new QSocketNotifier(fds_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = writeSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals) {
        ::sigaction(signal, &action, nullptr);
    }
}

TerminationSignals::~TerminationSignals() {
    if (notifier_ != nullptr) {
        for (const int signal : kSignals) {
            std::signal(signal, SIG_DFL);
        }
        signalWriteFd.store(-1);
    }
    for (const int fd : fds_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void TerminationSignals::readSignal() {
    char bytes[16];
    while (::read(fds_[0], bytes, sizeof bytes) > 0) {
    }
    if (onSignal_) {
        onSignal_();
    }
}

}  // namespace chat
