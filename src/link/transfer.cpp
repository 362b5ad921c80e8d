#include "link/transfer.h"

#include "link/serial.h"
#include "toolkit/toolkit.h"

int TransferContext::request(int code, int index)
{
    if (ended_)
        return 0;
    write_cmd(fd_, code, index);
    return receive();
}

int TransferContext::requestWide(int code, int index)
{
    if (ended_)
        return 0;
    write6_cmd(fd_, code, index);
    return receive();
}

int TransferContext::receive()
{
    int length = getNextPacket(parent_, fd_, answer_);
    if (length == 0) {
        ended_ = true;
        return 0;
    }
    showPercent(wbox_, total_, ++done_);
    return length;
}

bool TransferContext::send(int code, int subcode, const unsigned char *data, int length)
{
    if (ended_)
        return false;
    if (sendAndCheck(fd_, parent_, wbox_, code, subcode, data, length, total_, &done_) != 0)
        ended_ = true;
    return !ended_;
}

void TransferContext::setScale(int value)
{
    XmtWorkingBoxSetScaleValue(wbox_, value);
}

TransferResult runTransfer(const TransferPlan &transfer, const std::function<void(TransferContext &)> &body)
{
    int fd = openSer(transfer.device);
    if (fd < 0) {
        // Started from a desktop menu, the program has no standard error anyone reads.
        if (transfer.parent && *portFailureText()) {
            const char *which = nullptr;
            switch (portFailureCause()) {
            case PortFailure::Busy: which = advice::Busy; break;
            case PortFailure::Denied: which = advice::Denied; break;
            case PortFailure::NoDevice: which = advice::NoDevice; break;
            case PortFailure::LockDirDenied: which = advice::LockDenied; break;
            case PortFailure::NoCause: break;
            }
            std::string line = adviceText(transfer.parent, which, portFailureArgument());
            showTransferErr(transfer.parent, portFailureText(), line.c_str());
        }
        return TransferResult::NoPort;
    }
    forgetBytesHeard();
    Widget wbox = XmtDisplayWorkingDialog(transfer.parent, transfer.name, transfer.message,
                                          transfer.scale ? transfer.scaleLabel : "", transfer.scale ? "Abbrechen" : "", 0,
                                          transfer.scaleMax, transfer.scale, False);
    synchronize(fd);
    if (transfer.onOpen)
        transfer.onOpen();
    if (transfer.reading)
        sendBOTR(fd);
    else
        sendBOTW(fd);
    int ack = isOK(fd);
    if (ack != ANS_OK) {
        stop_conn(transfer.parent, fd, ack);
        return TransferResult::Refused;
    }

    TransferContext context(fd, transfer.parent, wbox, transfer.steps);
    body(context);
    if (context.ended())
        return TransferResult::Failed;
    stop_conn(transfer.parent, fd, ANS_OK);
    return TransferResult::Done;
}
