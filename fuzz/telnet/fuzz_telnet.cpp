// Feeds arbitrary server bytes to the telnet layer, cut into reads at arbitrary points.
// Besides crashes and overruns (the receive buffer lives on the heap, so the address
// sanitizer sees any write past its 2049 bytes) it checks that no block exceeds the
// buffer, that every block ends in a 0 byte, and that the data and replies do not
// depend on where the reads were cut.

#include "net/TelnetProtocol.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>

namespace {

struct TOutput {
    QByteArray data;
    QByteArray replies;
};

void Wire(TTelnetProtocol& p, TOutput& out)
{
    p.SendReply = [&out](const QByteArray& bytes) {
        if (bytes.size() < 3 || quint8(bytes[0]) != Telnet::IAC)
            std::abort();
        out.replies += bytes;
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
    FuzzedDataProvider provider(bytes, size);
    const size_t seed = provider.ConsumeIntegral<uint16_t>();
    const std::string stream = provider.ConsumeRemainingBytesAsString();

    TTelnetProtocol whole;
    TOutput wholeOut;
    Wire(whole, wholeOut);
    whole.Receive(stream.data(), int(stream.size()));

    // Cut points derived from the seed, so one input also fixes its own split.
    TTelnetProtocol split;
    TOutput splitOut;
    Wire(split, splitOut);
    size_t pos = 0;
    size_t state = seed * 2654435761u + 1;
    while (pos < stream.size()) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const size_t len = std::min(stream.size() - pos, size_t(1 + (state >> 33) % 3000));
        split.Receive(stream.data() + pos, int(len));
        pos += len;
    }

    if (wholeOut.data != splitOut.data || wholeOut.replies != splitOut.replies)
        std::abort();
    if (wholeOut.data.size() > qsizetype(stream.size()))
        std::abort();
    return 0;
}
