#pragma once
// Error codes of the socket layer. The user sees the Windows Sockets numbers and texts
// ("Error 10061 in function ...\r\nConnection refused") whatever the platform, so every
// errno and resolver result is mapped to those numbers before it is stored or shown.

#include "platform/Errors.h"

#include <QByteArray>

// Raised by TWSocket when no OnError handler is subscribed; carries only its message.
class ESocketException : public KmcError {
public:
    using KmcError::KmcError;
};

namespace SocketErrors {

constexpr int WouldBlock = 10035;
constexpr int NotSocket = 10038;
constexpr int InvalidArgument = 10022;
constexpr int ConnReset = 10054;
constexpr int NoBufferSpace = 10055;
constexpr int NotConnected = 10057;
constexpr int ConnRefused = 10061;

// errno -> Windows Sockets code. Values without a counterpart are returned unchanged
// (small numbers, so they show as "Not a WinSock error" and never pose as a real code).
int FromErrno(int err);
// The English description of a code; "Not a WinSock error" for unknown codes.
const char* Description(int code);

} // namespace SocketErrors
