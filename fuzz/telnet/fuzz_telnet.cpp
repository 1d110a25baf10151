// Feeds arbitrary server bytes to the telnet layer, cut into reads at arbitrary points.
// Besides crashes and overruns (the receive buffer lives on the heap, so the address
// sanitizer sees any write past its 2049 bytes) it checks that no block exceeds the
// buffer, that every block ends in a 0 byte, that the data and replies do not depend on
// where the reads were cut, and that a session ended by a reply hands on exactly the
// data before it and nothing after.
//
// Input: two bytes that choose the cuts and the reply that ends the session, then the
// bytes of the stream.

#include "net/TelnetProtocol.h"

#include <cstdint>
#include <cstdlib>

namespace {

struct TOutput {
    QByteArray data;
    QByteArray replies;
    int replyCount = 0;
};

void Wire(TTelnetProtocol& p, TOutput& out)
{
    p.SendReply = [&out](const QByteArray& bytes) {
        if (bytes.size() < 3 || quint8(bytes[0]) != Telnet::IAC)
            std::abort();
        out.replies += bytes;
        ++out.replyCount;
    };
    p.DeliverBlock = [&out](const char* data, int len) {
        if (len < 1 || len > TTelnetProtocol::BufferSize || data[len] != '\0')
            std::abort();
        out.data.append(data, len);
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const size_t seed = size >= 2 ? size_t(bytes[0] | bytes[1] << 8) : 0;
    const size_t skip = std::min<size_t>(size, 2);
    const char* const stream = reinterpret_cast<const char*>(bytes) + skip;
    const int length = int(size - skip);

    TTelnetProtocol whole;
    TOutput wholeOut;
    Wire(whole, wholeOut);
    whole.Receive(stream, length);

    // Cut points derived from the seed, so one input also fixes its own split.
    TTelnetProtocol split;
    TOutput splitOut;
    Wire(split, splitOut);
    int pos = 0;
    size_t state = seed * 2654435761u + 1;
    while (pos < length) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const int len = std::min(length - pos, int(1 + (state >> 33) % 3000));
        split.Receive(stream + pos, len);
        pos += len;
    }
    if (wholeOut.data != splitOut.data || wholeOut.replies != splitOut.replies)
        std::abort();
    if (wholeOut.data.size() > qsizetype(length))
        std::abort();

    // The n-th reply finds the connection gone and ends the session inside the read.
    TTelnetProtocol ended;
    TOutput endedOut;
    Wire(ended, endedOut);
    const int fatal = 1 + int(seed % 8);
    const auto wired = ended.SendReply;
    ended.SendReply = [&](const QByteArray& reply) {
        wired(reply);
        if (endedOut.replyCount == fatal)
            ended.EndSession();
    };
    ended.Receive(stream, length);
    if (!wholeOut.data.startsWith(endedOut.data) || !wholeOut.replies.startsWith(endedOut.replies))
        std::abort();
    if (endedOut.replyCount >= fatal) {
        endedOut.data.clear();
        ended.Receive("x", 1);
        if (endedOut.data != "x" || ended.RemoteEcho())
            std::abort();
    }
    return 0;
}
