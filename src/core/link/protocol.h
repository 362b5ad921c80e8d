// The frame protocol to the PBX.
//
// Every frame starts with its total length (at most 255).  Command frames are
// 5 bytes (length, code, 0, 0, index) or 6 bytes (16-bit index, low byte
// first); data frames and answers carry a 16-bit checksum of bytes 4.. in
// bytes 2-3.  Frames longer than 5 bytes are followed by 10 zero bytes.
//
// Results: 1 success / 0 failure for line operations.  Functions given an
// observer may end the transmission themselves (stop_conn): the port is then
// closed, the observer told, and the caller must not touch the port again.
// Nothing here knows of X: the window's flavour is ui/transferwindow.h.
#pragma once

#include "link/answer.h"
#include "link/observer.h"

#include <string>

constexpr int FrameBufSize = 1023; // outbuff, tmpbuff
constexpr int RecvBufSize = 1024;  // a caller's buffer for getNextPacket
constexpr int MaxFrame = 255;
constexpr int NoSubCode = 255;     // send_data without the sub-code byte
constexpr int PauseUnits = 20;     // minisleep after every frame
constexpr int PaddingBytes = 10;
// However the PBX sends, an answer (zero bytes ahead included) ends within
// this: the longest answer takes about 0.6 s at 4800 baud.
constexpr int AnswerLimitMs = 3000;

// Command codes (byte 1 of the frames we send).
enum : int {
    K_READ_SO_PORT = 0,
    K_READ_S0_TLN = 1,
    K_READ_TLN_RUFNR_LIST = 2,
    K_READ_TLN_BER_LIST = 3,
    K_READ_TLN_RUF_VERT_LIST = 4,
    K_READ_TLN_GEB_KONF_LIST = 5,
    K_READ_ST_KON_LIST = 6,
    K_READ_NAH_BER_LIST = 7,
    K_READ_SPERR_BER_LIST = 8,
    K_READ_KWZ_BLOCK = 9,
    K_READ_ANL_DAT_LIST = 10,
    K_READ_TLN_DATA_LIST = 11,
    K_READ_TLN_GEB_LIST = 12,
    K_READ_OUT_GEB_LIST = 13, // 6-byte command frame
    K_READ_IN_GEB_LIST = 14,
    K_WRITE_SO_PORT = 32,
    K_WRITE_S0_TLN = 33,
    K_WRITE_TLN_RUFNR_LIST = 34,
    K_WRITE_TLN_BER_LIST = 35,
    K_WRITE_TLN_RUF_VERT_LIST = 36,
    K_WRITE_TLN_GEB_KONF_LIST = 37,
    K_WRITE_ST_KON_LIST = 38,
    K_WRITE_NAH_BER_LIST = 39,
    K_WRITE_SPERR_BER_LIST = 40,
    K_WRITE_KWZ_BLOCK = 41,
    K_WRITE_ANL_DAT_LIST = 42,
    K_WRITE_TLN_DATA_LIST = 43,
    K_CLEAR_TLN_GEB_LIST = 44,
    K_CLEAR_OUT_GEB_LIST = 45,
    K_GET_EPROM_VER = 64,
    K_BEGIN_WRITE = 97,
    K_BEGIN_READ = 98,
    K_END = 99,
};

// Answer codes.
enum : int {
    ANS_OK = 96,
    ANS_CRC = 105,
    ANS_CMD = 106,
    ANS_PRIO = 107,
    ANS_TRANSFER = 108,
    ANS_NONE = -1, // no complete answer arrived
};

// Test-only: called after every frame instead of the pause (outbuff still
// holds the frame); nullptr puts back the real pause.
using FramePause = void (*)();
void setFramePause(FramePause pause);

extern unsigned char outbuff[FrameBufSize]; // the frame being sent
extern unsigned char tmpbuff[FrameBufSize]; // the acknowledgement read by isOK

// MkChecksum, isCheckSumOK and the byte sources: link/answer.h.

// Byte level: wait at most 1 s for the line.
int writech(int fd, unsigned char ch);
// Returns the byte; *status is 0 on success, -1 on time-out or read error.
int readch(int fd, int *status);

// Sends length bytes (and the padding when length > 5); with_checksum stores
// the checksum of bytes 4.. into bytes 2-3 first.  The bytes go to the line in
// as few writes as it takes them in, and the line has a second for each byte:
// the send fails when it takes none for a second.
int writebuf(int fd, unsigned char *frame, int length, int with_checksum);
int write_cmd(int fd, int code, int index);
int write6_cmd(int fd, int code, int index);
// Payload at most 250 bytes with a sub-code, 251 without (subcode NoSubCode);
// anything longer is refused with 0.
int send_data(int fd, int code, int subcode, const unsigned char *data, int length);
int sendBOTR(int fd);
int sendBOTW(int fd);
int sendEOT(int fd);

// Reads one answer into buffer (room for MaxFrame bytes): its length, or -1.
// The first byte missed ends the answer (the rest of it reads as 0xFF), and so
// does AnswerLimitMs passing, however many zero bytes keep the line busy.
int readAnswer(int fd, unsigned char *buffer);
// The answer code of the next answer (in tmpbuff), or -1 when none arrived.
// An answer of length 1 has no code and counts as none.
int isOK(int fd);

// Reads a data answer into buffer (RecvBufSize bytes, cleared first): its
// length, or 0 after the transmission was ended (108 nothing came, 105 checksum).
int getNextPacket(TransferObserver &observer, int fd, unsigned char *buffer);
// Ends the transmission: 255 zero bytes (unless code 0), end command, close
// the port, then tell the observer, with the text and advice for codes other
// than 0 and 96.
void stop_conn(TransferObserver &observer, int fd, int code);
// The text the transfer error dialog shows for a code; nullptr for 0 and 96.
// Points to a static buffer for unknown codes.
const char *transferErrText(int code);

// Advice for the user where the cause of a failure is known.  Each names a
// resource under "tranfer_err" holding the German line, in which a "%s"
// stands for the device, the lock holder or the lock directory.
namespace advice {
constexpr const char *NoAnswer = "noAnswer";         // nothing at all came back: cable, port, power
constexpr const char *Refused = "cmdRefused";        // the PBX refused a command
constexpr const char *Disturbed = "crcError";        // a checksum failed: a disturbed line
constexpr const char *Busy = "portBusy";             // another program holds the lock
constexpr const char *Denied = "noPermission";       // the device may not be opened: group dialout
constexpr const char *NoDevice = "noDevice";         // no such device
constexpr const char *LockDenied = "lockDirDenied"; // no lock file may be made in the lock directory
constexpr const char *NotTerminal = "notTerminal";  // a file or device given where the line belongs
constexpr const char *Gone = "lineGone";            // the line vanished: cable pulled, USB adapter gone
// Not advice but what the PBX holds: said after a programming run that broke
// off once the PBX had taken one of its data frames.
constexpr const char *Partly = "partly";
constexpr const char *NoConnection = "netUnreachable"; // no connection to the server of a network device
constexpr const char *NoRemoteSettings = "netSettings"; // the server would not set the far port
constexpr const char *ConnectionLost = "netLost";     // the network connection broke during the transfer
} // namespace advice
// Which advice fits a code of stop_conn; heard tells whether any byte came
// back since the port was opened, gone whether the line vanished.  nullptr
// when the cause is not known.
const char *adviceFor(int code, bool heard, bool gone = false);
// Starts counting the bytes read from the line and the data frames the PBX
// acknowledged afresh, and forgets a vanished line (runTransmission calls it
// once the port is open); stop_conn's advice asks what came.
void forgetBytesHeard();
// The scale value showPercent sets for done of total steps: the whole-number
// part of 100 / total * done, rounded to single precision first; -1 (leave the
// scale alone) for no steps.
int percentOf(int total, int done);
// Sends a data frame and checks its acknowledgement: 0 on success (counter
// advanced, percentage reported), 1 after the transmission was ended (with 108
// when the frame could not be sent, else with the PBX's answer).
int sendAndCheck(int fd, TransferObserver &observer, int code, int subcode, const unsigned char *data, int length,
                 int total, int *counter);
