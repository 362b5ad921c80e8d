#include "link/transfer.h"

#include "link/interrupt.h"
#include "link/serial.h"

bool TransferContext::goOn()
{
    if (ended_)
        return false;
    if (interruptCaught())
        stop_conn(observer_, fd_, ANS_NONE); // does not come back
    return true;
}

int TransferContext::request(int code, int index)
{
    if (!goOn())
        return 0;
    write_cmd(fd_, code, index);
    return receive();
}

int TransferContext::requestWide(int code, int index)
{
    if (!goOn())
        return 0;
    write6_cmd(fd_, code, index);
    return receive();
}

int TransferContext::receive()
{
    int length = getNextPacket(observer_, fd_, answer_);
    if (length == 0) {
        ended_ = true;
        return 0;
    }
    if (int percent = percentOf(total_, ++done_); percent >= 0)
        observer_.progress(percent);
    return length;
}

bool TransferContext::send(int code, int subcode, const unsigned char *data, int length)
{
    if (!goOn())
        return false;
    transmissionSentData();
    if (sendAndCheck(fd_, observer_, code, subcode, data, length, total_, &done_) != 0)
        ended_ = true;
    return !ended_;
}

TransferShow percentShow(const char *name, const char *message) { return {name, message, "Prozent:", 100, true}; }

TransferShow messageShow(const char *name, const char *message) { return {name, message, "", 100, false}; }

namespace {

const char *adviceForPort(PortFailure cause)
{
    switch (cause) {
    case PortFailure::Busy: return advice::Busy;
    case PortFailure::Denied: return advice::Denied;
    case PortFailure::NoDevice: return advice::NoDevice;
    case PortFailure::LockDirDenied: return advice::LockDenied;
    case PortFailure::NotTerminal: return advice::NotTerminal;
    case PortFailure::NoConnection: return advice::NoConnection;
    case PortFailure::NoRemoteSettings: return advice::NoRemoteSettings;
    case PortFailure::NoCause: break;
    }
    return nullptr;
}

} // namespace

TransferResult runTransmission(const Transmission &transmission, TransferObserver &observer,
                               const std::function<void(TransferContext &)> &body)
{
    transmissionBegins(!transmission.reading);
    int fd = openSer(transmission.device);
    if (fd < 0) {
        transmissionEnds(false);
        if (interruptCaught())
            exitForInterrupt();
        TransferTrouble trouble{0, portFailureText(), adviceForPort(portFailureCause()), portFailureArgument(), false,
                                portFailureLine()};
        observer.portFailed(trouble);
        return TransferResult::NoPort;
    }
    forgetBytesHeard();
    observer.started(transmission.show);
    if (!synchronize(fd)) {
        stop_conn(observer, fd, ANS_TRANSFER);
        return TransferResult::Refused;
    }
    if (transmission.onOpen)
        transmission.onOpen();
    if (transmission.reading)
        sendBOTR(fd);
    else
        sendBOTW(fd);
    int ack = isOK(fd);
    if (ack != ANS_OK || interruptCaught()) {
        stop_conn(observer, fd, ack != ANS_OK ? ack : ANS_NONE);
        return TransferResult::Refused;
    }

    TransferContext context(fd, observer, transmission.steps);
    body(context);
    if (context.ended())
        return TransferResult::Failed;
    stop_conn(observer, fd, ANS_OK);
    return TransferResult::Done;
}
