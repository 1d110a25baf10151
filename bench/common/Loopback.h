#pragma once
// What the benchmark servers share: a listening socket on 127.0.0.1 with a free port,
// and the process's memory as the kernel counts it.

#include <QByteArray>

#include <atomic>

namespace Loopback {

// A socket listening on 127.0.0.1, port chosen by the system; ends the process with
// the system's reason (prefixed by who) when that fails.
int Listen(quint16& port, const char* who);
// Sends all of bytes in writes of 64 KB, as a server with a full output queue hands
// them to the kernel, until done, the peer is gone or *stop is set.
void SendAll(int fd, const QByteArray& bytes, const std::atomic<bool>* stop = nullptr);
// The process's resident memory now, in kB.
long ResidentKb();

} // namespace Loopback
