#pragma once
// One block of outgoing bytes waiting in TWSocket's send queue. Bytes are appended at
// the write count and taken from the read count; once everything written has been
// taken, both counts drop to 0 so the chunk can be filled again.

#include <QByteArray>

class TSendChunk {
public:
    static constexpr int DefaultSize = 1514;

    // A capacity of 0 or less means DefaultSize.
    explicit TSendChunk(int capacity = DefaultSize);

    // Appends as many of the len bytes as fit; returns how many were taken.
    int Write(const char* data, int len);
    // The unread bytes; len is 0 (and the pointer null) when nothing is unread.
    const char* Peek(int& len) const;
    // Advances the read count by at most the unread number; returns the amount removed.
    int Remove(int len);

    int Capacity() const { return FBuffer.size(); }

private:
    QByteArray FBuffer;
    int FWrCount = 0;
    int FRdCount = 0;
};
