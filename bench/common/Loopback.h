#pragma once
// What the benchmark servers share: a listening socket on 127.0.0.1 with a free port,
// and the process's memory as the kernel counts it.

#include <QtGlobal>

namespace Loopback {

// A socket listening on 127.0.0.1, port chosen by the system; ends the process with
// the system's reason (prefixed by who) when that fails.
int Listen(quint16& port, const char* who);
// The process's resident memory now, in kB.
long ResidentKb();

} // namespace Loopback
