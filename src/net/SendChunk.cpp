#include "SendChunk.h"

#include <algorithm>
#include <cstring>

TSendChunk::TSendChunk(int capacity) : FBuffer(capacity > 0 ? capacity : DefaultSize, '\0') {}

int TSendChunk::Write(const char* data, int len)
{
    const int taken = std::max(0, std::min(len, int(FBuffer.size()) - FWrCount));
    if (taken > 0) {
        std::memcpy(FBuffer.data() + FWrCount, data, size_t(taken));
        FWrCount += taken;
    }
    return taken;
}

const char* TSendChunk::Peek(int& len) const
{
    len = FWrCount - FRdCount;
    if (len <= 0) {
        len = 0;
        return nullptr;
    }
    return FBuffer.constData() + FRdCount;
}

int TSendChunk::Remove(int len)
{
    const int removed = std::max(0, std::min(len, FWrCount - FRdCount));
    FRdCount += removed;
    if (FRdCount >= FWrCount) {
        FRdCount = 0;
        FWrCount = 0;
    }
    return removed;
}
