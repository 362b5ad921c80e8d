// Transfers in the window: the working dialog shows a transfer's progress and
// the transfer error box its end.  The transfers themselves know nothing of
// X (link/transfer.h); this is the window's observer of them, and the frame
// protocol's operations as the window calls them, with a parent widget.
#pragma once

#include "link/transfer.h"

#include <X11/Intrinsic.h>
#include <string>

// Shows the working dialog under parent when a transfer starts, moves its
// scale, hides it at the end (the parent gets the focus back) and then shows
// the transfer error box when the transfer went wrong.
class WindowObserver : public TransferObserver {
public:
    explicit WindowObserver(Widget parent, Widget wbox = nullptr) : parent_(parent), wbox_(wbox) {}
    ~WindowObserver() override { leave(); }
    WindowObserver(const WindowObserver &) = delete;
    WindowObserver &operator=(const WindowObserver &) = delete;
    void started(const TransferShow &show) override;
    void progress(int value) override;
    void ended(const TransferTrouble *trouble) override;
    void portFailed(const TransferTrouble &trouble) override;
    Widget workingBox() const { return wbox_; }

private:
    void leave();
    Widget parent_;
    Widget wbox_;
    bool running_ = false;
};

// True from a transfer's start to its end.  A transfer runs inside a button's
// callback, and while its working dialog comes up the event loop runs: what
// must not happen in the middle of one (quitting) waits for its end.
bool transferRunning();
// Runs f from the event loop once no transfer runs (soon, when none does now);
// a second call before that replaces f.
void whenNoTransfer(void (*f)());

// The protocol's operations with the window's parent widget; see link/protocol.h.
int getNextPacket(Widget parent, int fd, unsigned char *buffer);
void stop_conn(Widget parent, int fd, int code);
int sendAndCheck(int fd, Widget parent, Widget wbox, int code, int subcode, const unsigned char *data, int length,
                 int total, int *counter);
void showPercent(Widget wbox, int total, int done);
// The dialog with the text and, when given, one line of advice below it.
void showTransferErr(Widget parent, const char *text, const char *advice = nullptr);
// The advice line from the resources (a user's own lines included), "%s"
// replaced by arg; "" when the resources have none.
std::string adviceText(Widget parent, const char *which, const char *arg);
