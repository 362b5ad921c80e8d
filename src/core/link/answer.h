// Receiving answers: the bytes of one answer from wherever they come, and the
// checks on them.  Nothing here touches X or the port itself, so the same code
// runs over the serial line and over bytes in memory.
#pragma once

#include <chrono>
#include <cstddef>

using LineClock = std::chrono::steady_clock;

// How long the line may take for one byte (one second), and for a whole
// answer however many zero bytes keep it busy (three seconds).
std::chrono::milliseconds byteTimeout();
// The network's allowance (link/rfc2217.h), added to both; 0 on a local line.
void setLineAllowanceMs(int ms);
// Test-only: shortens both (the answer limit stays three byte times); 0 puts
// back the real times.
void setByteTimeoutMs(int ms);

unsigned short MkChecksum(const unsigned char *data, int count);
// False for answers shorter than 4 bytes (they have no checksum field).
bool isCheckSumOK(const unsigned char *answer, int length);

// Where answer bytes come from.  next() returns the next byte with *status 0,
// or -1 with *status -1 when none came before the deadline (or none will).
// take() does the same for up to most bytes at once: however many are there
// when the first is (at least one), or -1.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int next(LineClock::time_point deadline, int *status) = 0;
    virtual int take(unsigned char *into, int most, LineClock::time_point deadline, int *status);
};

// Bytes held in memory: after the last one every read times out at once.
class MemorySource : public ByteSource {
public:
    MemorySource(const unsigned char *bytes, std::size_t count) : bytes_(bytes), count_(count) {}
    int next(LineClock::time_point deadline, int *status) override;
    std::size_t consumed() const { return pos_; }

private:
    const unsigned char *bytes_;
    std::size_t count_;
    std::size_t pos_ = 0;
};

// Reads one answer into buffer (room for 255 bytes): its length, or -1.
// Zero bytes ahead of the length byte are skipped one by one; the rest of the
// answer is taken as it comes, never a byte beyond its length.  The first byte missed ends
// the answer (the rest of it reads as 0xFF), and so does the answer limit
// passing, however many zero bytes keep the line busy.
int readAnswerFrom(ByteSource &source, unsigned char *buffer);

// A data answer into buffer (RecvBufSize bytes, cleared first): its length,
// or 0 with *error set to the code that ends the transmission (108: nothing
// or not all of it came, 105: wrong checksum).
int receivePacket(ByteSource &source, unsigned char *buffer, int *error);
