// One transmission to the PBX.  Every transfer is the same frame -- open the
// port, tell the observer, synchronise, begin, check the acknowledgement, the
// transfer's own frames, end -- and differs only in its body.
#pragma once

#include "link/observer.h"
#include "link/protocol.h"

#include <functional>

enum class TransferResult {
    NoPort,  // the port could not be opened; the port layer told stderr
    Refused, // the begin command was not acknowledged; the transmission is ended
    Failed,  // a frame of the body failed; the transmission is ended
    Done,    // the body ran through; the transmission is ended with 96
};

// What a body works with.  request and send count one step each and report the
// percentage; on failure they end the transmission (the observer hears why)
// and every later call fails without touching the line, so a body just returns.
// A signal caught (link/interrupt.h) ends the transmission at the next frame
// and the program with it.
class TransferContext {
public:
    TransferContext(int fd, TransferObserver &observer, int total) : fd_(fd), observer_(observer), total_(total) {}

    // Sends a 5-byte command and reads its data answer into answer(): the
    // answer's length, or 0 when the transmission has ended.  Whether the
    // command could be sent is not examined: a silent PBX shows as no answer.
    int request(int code, int index);
    // The same with the 6-byte command, whose index has 16 bits.
    int requestWide(int code, int index);
    // Sends a data frame and checks its acknowledgement; false when the
    // transmission has ended.
    bool send(int code, int subcode, const unsigned char *data, int length);

    // The last data answer, RecvBufSize bytes (cleared before each answer).
    const unsigned char *answer() const { return answer_; }
    bool ended() const { return ended_; }
    int fd() const { return fd_; }
    TransferObserver &observer() const { return observer_; }
    int total() const { return total_; }
    int done() const { return done_; }
    // For transfers whose scale counts records rather than percent (steps 0).
    void setScale(int value) { observer_.progress(value); }

private:
    // False once the transmission has ended; a signal caught ends it here.
    bool goOn();
    int receive();

    int fd_;
    TransferObserver &observer_;
    int total_;
    int done_ = 0;
    bool ended_ = false;
    unsigned char answer_[RecvBufSize] = {};
};

struct Transmission {
    const char *device;
    TransferShow show;   // the working display: name, message, scale
    bool reading;        // begin-of-read (98), else begin-of-write (97)
    int steps;           // what the percentage counts up to; 0: the body sets the scale
    // Runs once the port is open and synchronised, just before the begin
    // command; not at all when the port cannot be opened.
    std::function<void()> onOpen = {};
};

// The working display of a transfer that shows a percentage ("Prozent:", 0..100).
TransferShow percentShow(const char *name, const char *message);
// The display of a transfer of one frame: its message, no scale.
TransferShow messageShow(const char *name, const char *message);

TransferResult runTransmission(const Transmission &transmission, TransferObserver &observer,
                               const std::function<void(TransferContext &)> &body);
