#include "link/answer.h"

#include "link/protocol.h"
#include "link/trace.h"

#include <algorithm>
#include <cstring>

namespace {
int byteTimeoutMs = 0;
int allowanceMs = 0;
}

std::chrono::milliseconds byteTimeout()
{
    return std::chrono::milliseconds((byteTimeoutMs ? byteTimeoutMs : 1000) + allowanceMs);
}
static std::chrono::milliseconds answerLimit()
{
    return std::chrono::milliseconds((byteTimeoutMs ? 3 * byteTimeoutMs : AnswerLimitMs) + allowanceMs);
}
void setLineAllowanceMs(int ms) { allowanceMs = ms > 0 ? ms : 0; }
void setByteTimeoutMs(int ms) { byteTimeoutMs = ms > 0 ? ms : 0; }

unsigned short MkChecksum(const unsigned char *data, int count)
{
    unsigned sum = 0;
    for (int i = 0; i < count; i++) {
        sum = ((sum >> 1) | (sum << 15)) & 0xFFFF;
        sum = (sum + data[i]) & 0xFFFF;
    }
    return static_cast<unsigned short>(sum);
}

bool isCheckSumOK(const unsigned char *answer, int length)
{
    if (length < 4)
        return false;
    unsigned received = unsigned(answer[2]) | unsigned(answer[3]) << 8;
    unsigned computed = MkChecksum(answer + 4, length - 4);
    if (traceBytes())
        tracePrintf("\nCheckSum: %08X %08X\n", received, computed);
    return received == computed;
}

int ByteSource::take(unsigned char *into, int most, LineClock::time_point deadline, int *status)
{
    if (most <= 0) {
        *status = 0;
        return 0;
    }
    int c = next(deadline, status);
    if (*status != 0)
        return -1;
    into[0] = static_cast<unsigned char>(c);
    return 1;
}

int MemorySource::next(LineClock::time_point, int *status)
{
    if (pos_ >= count_) {
        *status = -1;
        return -1;
    }
    *status = 0;
    return bytes_[pos_++];
}

int readAnswerFrom(ByteSource &source, unsigned char *buffer)
{
    if (traceBytes())
        tracePrintf("\n");
    // Each byte may take a second, but a line babbling zero bytes or trickling
    // an answer must not hold the window for minutes.
    auto limit = LineClock::now() + answerLimit();
    auto byteDeadline = [limit] { return std::min(LineClock::now() + byteTimeout(), limit); };
    int status = 0;
    int c;
    do
        c = source.next(byteDeadline(), &status);
    while (c == 0);
    if (status != 0)
        return -1;
    int length = c;
    buffer[0] = static_cast<unsigned char>(length);
    if (traceBytes())
        tracePrintf("\nWaiting...%d\n", length);
    if (traceBytes())
        tracePrintf("IN: ");
    // Each byte has its deadline from the one before it: bytes that came
    // together met theirs, and the next one's starts now.
    int i = 1;
    while (i < length) {
        int got = source.take(buffer + i, length - i, byteDeadline(), &status);
        if (status != 0)
            break;
        i += got;
    }
    if (status != 0) {
        // A line that missed one byte will not deliver the rest in time.
        std::memset(buffer + i, 0xFF, std::size_t(length - i));
        if (traceBytes())
            tracePrintf("\nPremature...\n");
        return -1;
    }
    if (traceBytes())
        tracePrintf("\nLen...%d\n", length);
    return length;
}

int receivePacket(ByteSource &source, unsigned char *buffer, int *error)
{
    std::memset(buffer, 0, RecvBufSize);
    int length = readAnswerFrom(source, buffer);
    if (length < 0) {
        *error = ANS_TRANSFER;
        return 0;
    }
    if (!isCheckSumOK(buffer, length)) {
        *error = ANS_CRC;
        return 0;
    }
    *error = 0;
    return length;
}
