#include "link/protocol.h"

#include "link/interrupt.h"
#include "link/serial.h"
#include "link/trace.h"
#include "resources/fill.h"
#include "resources/lookup.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

unsigned char outbuff[FrameBufSize];
unsigned char tmpbuff[FrameBufSize];

namespace {

long heard = 0;
// Data frames of this transmission the PBX acknowledged.
int acked = 0;
// The line itself went away (end of file, EIO): a pulled cable or adapter.
bool gone = false;

// A read or write that found the line gone; said once, through the advice.
void lineGone(const char *what)
{
    gone = true;
    if (traceErrors())
        tracePrintf("\n%s: the line is gone\n", what);
}

using Clock = std::chrono::steady_clock;

// Waits until fd is readable or writable, at most until the deadline.
bool waitLine(int fd, bool for_write, Clock::time_point deadline)
{
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        // Whole milliseconds, rounded up: a wait never ends before its deadline.
        pollfd p = {fd, short(for_write ? POLLOUT : POLLIN), 0};
        int n = poll(&p, 1, int((left + 999) / 1000));
        if (n > 0)
            return true; // an error or hang-up shows in the read or write that follows
        if (n == 0 || errno != EINTR)
            return false;
    }
}

Clock::time_point inOneSecond() { return Clock::now() + byteTimeout(); }

FramePause pauseHook = nullptr;

// Every frame is followed by this pause before the program goes on.
void framePause()
{
    if (pauseHook)
        pauseHook();
    else
        minisleep(PauseUnits);
}

} // namespace

void setFramePause(FramePause pause) { pauseHook = pause; }

namespace {

// readch, waiting at most until the deadline.
int readBefore(int fd, int *status, Clock::time_point deadline)
{
    *status = 0;
    for (;;) {
        if (!waitLine(fd, false, deadline)) {
            *status = -1;
            if (traceErrors())
                tracePrintf("\nTimeout while reading data!\n");
            return -1;
        }
        unsigned char ch;
        ssize_t n = lineRead(fd, &ch, 1);
        if (n == 1) {
            ++heard;
            if (traceBytes())
                tracePrintf(" %X", unsigned(ch));
            return ch;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            continue; // readiness without a byte; wait again
        lineGone("reading data");
        *status = -1;
        return -1;
    }
}

} // namespace

int readch(int fd, int *status) { return readBefore(fd, status, inOneSecond()); }

namespace {

// The serial line as a source of answer bytes: on each readiness event it
// takes what the line has, but never more than asked for, so that nothing
// beyond the answer leaves the line before its time.
class LineSource : public ByteSource {
public:
    explicit LineSource(int fd) : fd_(fd) {}
    int next(LineClock::time_point deadline, int *status) override { return readBefore(fd_, status, deadline); }
    int take(unsigned char *into, int most, LineClock::time_point deadline, int *status) override;

private:
    int fd_;
};

// At 4800 baud a byte comes every 2.3 ms, each with a readiness event of its
// own.  While an answer still lacks more than a few bytes, a line found empty
// is given this long to gather some before the program waits on it again: one
// wake-up then takes several bytes.  A byte may so be taken up to this much
// after it came, as by a program woken late; the last few bytes of an answer
// are taken as they come.
constexpr auto GatherTime = std::chrono::milliseconds(10);
constexpr int GatherBytes = 8;

void pauseUntil(LineClock::time_point until)
{
    auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(until - LineClock::now()).count();
    if (left <= 0)
        return;
    struct timespec ts = {time_t(left / 1000000000), long(left % 1000000000)};
    nanosleep(&ts, nullptr); // a signal only makes it shorter
}

int LineSource::take(unsigned char *into, int most, LineClock::time_point deadline, int *status)
{
    *status = 0;
    bool gathered = most <= GatherBytes;
    for (;;) {
        ssize_t n = lineRead(fd_, into, std::size_t(most));
        if (n > 0) {
            heard += n;
            if (traceBytes())
                for (ssize_t i = 0; i < n; i++)
                    tracePrintf(" %X", unsigned(into[i]));
            return int(n);
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || errno != EAGAIN) {
            lineGone("reading data");
            *status = -1;
            return -1;
        }
        // Nothing there yet.
        if (!gathered) {
            gathered = true;
            pauseUntil(std::min(LineClock::now() + GatherTime, deadline));
            continue;
        }
        if (!waitLine(fd_, false, deadline)) {
            *status = -1;
            if (traceErrors())
                tracePrintf("\nTimeout while reading data!\n");
            return -1;
        }
    }
}

} // namespace

namespace {

// Hands bytes to the line in as few writes as it takes them.  Each byte has a
// second to be taken, as if written one by one: the line must become ready
// within a second of the last byte it took.  A write that fails (EIO: the
// line hung up) fails the send: not a byte of it went out.
int writeBytes(int fd, const unsigned char *bytes, int count)
{
    int sent = 0;
    while (sent < count) {
        ssize_t n = lineWrite(fd, bytes + sent, std::size_t(count - sent));
        if (n > 0) {
            if (traceBytes())
                for (ssize_t i = 0; i < n; i++)
                    tracePrintf(" %X", unsigned(bytes[sent + i]));
            sent += int(n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN)
            lineGone("writing data");
        if ((n < 0 && errno != EAGAIN) || !waitLine(fd, true, inOneSecond())) {
            if (traceBytes())
                tracePrintf("\n!!!!!!!Error writing data to serial port!");
            return 0;
        }
    }
    return 1;
}

} // namespace

int writech(int fd, unsigned char ch) { return writeBytes(fd, &ch, 1); }

int writebuf(int fd, unsigned char *frame, int length, int with_checksum)
{
    if (with_checksum && length >= 4) {
        unsigned short sum = MkChecksum(frame + 4, length - 4);
        frame[2] = static_cast<unsigned char>(sum & 0xFF);
        frame[3] = static_cast<unsigned char>(sum >> 8);
        if (traceBytes())
            tracePrintf("\nCheckSum: %08X\n", unsigned(sum));
    }
    if (traceBytes())
        tracePrintf("\nOUT: ");
    if (length <= 0)
        return 1;
    // The frame and its padding in one piece: a line that takes them together
    // carries them without a gap.
    unsigned char bytes[FrameBufSize + PaddingBytes] = {};
    int count = std::min(length, FrameBufSize);
    std::memcpy(bytes, frame, std::size_t(count));
    if (length > 5)
        count += PaddingBytes;
    return writeBytes(fd, bytes, count);
}

int write_cmd(int fd, int code, int index)
{
    outbuff[0] = 5;
    outbuff[1] = static_cast<unsigned char>(code);
    outbuff[2] = 0;
    outbuff[3] = 0;
    outbuff[4] = static_cast<unsigned char>(index);
    if (!writebuf(fd, outbuff, 5, 0))
        return 0;
    framePause();
    return 1;
}

int write6_cmd(int fd, int code, int index)
{
    outbuff[0] = 6;
    outbuff[1] = static_cast<unsigned char>(code);
    outbuff[2] = 0;
    outbuff[3] = 0;
    outbuff[4] = static_cast<unsigned char>(index & 0xFF);
    outbuff[5] = static_cast<unsigned char>((index >> 8) & 0xFF);
    if (!writebuf(fd, outbuff, 6, 0))
        return 0;
    framePause();
    return 1;
}

int send_data(int fd, int code, int subcode, const unsigned char *data, int length)
{
    std::memset(outbuff, 0, sizeof outbuff);
    int header = subcode == NoSubCode ? 4 : 5;
    int ok = 0;
    if (length >= 0 && header + length <= MaxFrame) {
        outbuff[0] = static_cast<unsigned char>(header + length);
        outbuff[1] = static_cast<unsigned char>(code);
        if (header == 5)
            outbuff[4] = static_cast<unsigned char>(subcode);
        if (length > 0)
            std::memcpy(outbuff + header, data, std::size_t(length));
        ok = writebuf(fd, outbuff, header + length, 1);
    }
    framePause();
    return ok;
}

int sendBOTR(int fd)
{
    if (write_cmd(fd, K_BEGIN_READ, 0))
        return 1;
    tcflush(fd, TCIOFLUSH);
    return 0;
}

int sendBOTW(int fd) { return write_cmd(fd, K_BEGIN_WRITE, 0); }
int sendEOT(int fd) { return write_cmd(fd, K_END, 0); }

int readAnswer(int fd, unsigned char *buffer)
{
    LineSource line(fd);
    return readAnswerFrom(line, buffer);
}

int isOK(int fd)
{
    int length = readAnswer(fd, tmpbuff);
    if (length < 2)
        return ANS_NONE; // a lone length byte carries no code
    return tmpbuff[1];
}

int getNextPacket(TransferObserver &observer, int fd, unsigned char *buffer)
{
    LineSource line(fd);
    int error = 0;
    int length = receivePacket(line, buffer, &error);
    if (length == 0)
        stop_conn(observer, fd, error);
    return length;
}

const char *transferErrText(int code)
{
    static char unknown[40];
    switch (code) {
    case 0:
    case ANS_OK:
        return nullptr;
    case ANS_CRC:
        return "CRC-Fehler";
    case ANS_CMD:
        return "CMD-Fehler";
    case ANS_PRIO:
        return "Prio-Fehler";
    case ANS_TRANSFER:
    case ANS_NONE:
        return "Uebertragungs-Fehler";
    default:
        std::snprintf(unknown, sizeof unknown, "Unbekannter Fehler %04X", unsigned(code));
        return unknown;
    }
}

void forgetBytesHeard()
{
    heard = 0;
    acked = 0;
    gone = false;
}

const char *adviceFor(int code, bool heard_any, bool line_gone)
{
    switch (code) {
    case ANS_NONE:
    case ANS_TRANSFER:
        if (line_gone)
            return advice::Gone;
        // Only silence from the start says where to look; an answer cut short
        // midway may have any cause.
        return heard_any ? nullptr : advice::NoAnswer;
    case ANS_CMD:
        return advice::Refused;
    case ANS_CRC:
        return advice::Disturbed;
    default:
        return nullptr;
    }
}

std::string builtinAdvice(const char *which, const std::string &arg)
{
    if (!which)
        return "";
    return fillPlaceholders(builtinResource(std::string("*tranfer_err.") + which), {arg});
}

void stop_conn(TransferObserver &observer, int fd, int code)
{
    // Taken before the end command, whose answer would count.
    bool heard_any = heard > 0, line_gone = gone;
    bool partly = acked > 0 && code != ANS_OK && code != 0;
    bool lost = lineConnectionLost();
    int signal = interruptCaught();
    if (traceErrors() && code != ANS_OK)
        tracePrintf("ERROR: #%04X !!!!!!!!!!!!!!\n", unsigned(code));
    if (code != 0 || signal)
        synchronize(fd);
    sendEOT(fd);
    isOK(fd); // the end command has gone out before the line is flushed
    std::string device = openedDevice();
    closeSer(fd);
    forgetBytesHeard();
    transmissionEnds(code == ANS_OK); // only the end of a whole transmission says 96

    // The trace of a finished transmission can be read while the program runs.
    traceFlush();

    if (signal) {
        // The program says itself what the PBX holds, and quits.
        observer.ended(nullptr);
        exitForInterrupt();
    }

    if (const char *text = transferErrText(code)) {
        TransferTrouble trouble{code, text, lost ? advice::ConnectionLost : adviceFor(code, heard_any, line_gone),
                                device, partly};
        observer.ended(&trouble);
    } else {
        observer.ended(nullptr);
    }
}

int percentOf(int total, int done)
{
    if (total <= 0)
        return -1;
    float percent = static_cast<float>(100.0 / total * done);
    return static_cast<int>(percent);
}

int sendAndCheck(int fd, TransferObserver &observer, int code, int subcode, const unsigned char *data, int length,
                 int total, int *counter)
{
    if (!send_data(fd, code, subcode, data, length)) {
        // A frame the line would not take is a failed transfer, and the user
        // must hear of it: ending quietly would look like a finished run.
        stop_conn(observer, fd, ANS_TRANSFER);
        return 1;
    }
    int answer = isOK(fd);
    if (answer != ANS_OK) {
        stop_conn(observer, fd, answer);
        return 1;
    }
    ++acked;
    ++*counter;
    if (int percent = percentOf(total, *counter); percent >= 0)
        observer.progress(percent);
    return 0;
}
