#include "EndSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The handler may only write to a pipe; the notifier reads it in the event loop.
volatile sig_atomic_t gWriteEnd = -1;

void OnSignal(int signalNumber)
{
    const int saved = errno;
    const char byte = char(signalNumber);
    // A full pipe already holds a request; nothing more to do about a failed write.
    if (gWriteEnd >= 0 && write(gWriteEnd, &byte, 1) < 0) {
    }
    errno = saved;
}

const int kSignals[] = {SIGTERM, SIGHUP};

} // namespace

TEndSignals::TEndSignals(QObject* parent) : QObject(parent)
{
    if (pipe2(FPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    gWriteEnd = FPipe[1];
    FNotifier = new QSocketNotifier(FPipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        while (read(FPipe[0], &byte, 1) == 1)
            emit Received(byte);
    });
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : kSignals)
        sigaction(s, &action, nullptr);
}

TEndSignals::~TEndSignals()
{
    if (FPipe[0] < 0)
        return;
    for (int s : kSignals)
        signal(s, SIG_DFL);
    gWriteEnd = -1;
    close(FPipe[0]);
    close(FPipe[1]);
}
