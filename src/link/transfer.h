// One transmission to the PBX.  Every transfer is the same frame -- open the
// port, show the working dialog, synchronise, begin, check the acknowledgement,
// the transfer's own frames, end -- and differs only in its body.
#pragma once

#include "link/protocol.h"

#include <X11/Intrinsic.h>
#include <functional>

enum class TransferResult {
    NoPort,  // the port could not be opened; the port layer told stderr
    Refused, // the begin command was not acknowledged; the transmission is ended
    Failed,  // a frame of the body failed; the transmission is ended
    Done,    // the body ran through; the transmission is ended with 96
};

// What a body works with.  request and send count one step each and show the
// percentage; on failure they end the transmission (with its error dialog) and
// every later call fails without touching the line, so a body just returns.
class TransferContext {
public:
    TransferContext(int fd, Widget parent, Widget wbox, int total)
        : fd_(fd), parent_(parent), wbox_(wbox), total_(total)
    {
    }

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
    Widget parent() const { return parent_; }
    Widget workingBox() const { return wbox_; }
    int total() const { return total_; }
    int done() const { return done_; }
    // For transfers whose scale counts records rather than percent (steps 0).
    void setScale(int value);

private:
    int receive();

    int fd_;
    Widget parent_;
    Widget wbox_;
    int total_;
    int done_ = 0;
    bool ended_ = false;
    unsigned char answer_[RecvBufSize] = {};
};

struct TransferPlan {
    const char *device;
    Widget parent;       // of the working dialog and the error dialog
    const char *name;    // the working dialog's name
    const char *message; // and its message
    bool reading;        // begin-of-read (98), else begin-of-write (97)
    int steps;           // what the percentage counts up to
    // Runs once the port is open and synchronised, just before the begin
    // command; not at all when the port cannot be opened.
    std::function<void()> onOpen = {};
    // Transfers of one frame show only their message: no scale, no labels.
    bool scale = true;
    // The working dialog's scale: its label and its range from 0.  With steps
    // 0 the body sets the scale itself (setScale).
    const char *scaleLabel = "Prozent:";
    int scaleMax = 100;
};

TransferResult runTransfer(const TransferPlan &transfer, const std::function<void(TransferContext &)> &body);
