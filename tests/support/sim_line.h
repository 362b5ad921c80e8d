// A PBX simulator answering on a fresh pty, reachable as <tmp>/ttyPBX, with the
// program's lock files redirected to <tmp>/lock for as long as it lives; and
// the frames and record image the tests build by hand.
#pragma once

#include "pbxsim/pbxsim.h"
#include "support/pty_peer.h"
#include "support/tempdir.h"

#include <string>
#include <vector>

// Frames as the PBX expects them, built by hand (the checksum is pbxsim's).
inline Bytes command(int code, int index) { return {5, std::uint8_t(code), 0, 0, std::uint8_t(index)}; }
// With a 16-bit index and the ten zero bytes that follow every frame longer than five.
Bytes command6(int code, int index);
// subcode < 0: none; padded: the ten zero bytes after a frame longer than five.
Bytes dataFrame(int code, int subcode, const Bytes &payload, bool padded = true);
inline Bytes ack(int code) { return {4, std::uint8_t(code), 0, 0}; }
bool checksumOk(const Bytes &answer);
// The frames the program sent, as the simulator logged them (no padding).
std::vector<Bytes> sentByProgram(const pbxsim::Simulator &sim);

// The record's PBX image (bytes 0-2097) after a read of this state into a
// record that was all zeros.
std::vector<unsigned char> imageOf(const pbxsim::State &state);

// A simulator on a fresh pty reachable as <tmp>/ttyPBX, locks in <tmp>/lock.
struct SimLine {
    explicit SimLine(const pbxsim::State &state = pbxsim::defaultState());
    virtual ~SimLine(); // the fault matrix holds either kind through this // the fault matrix holds either kind through this
    int open();              // openSer on the device; fd is kept
    void ended() { fd = -1; } // stop_conn has closed it
    // Waits until the simulator received count bytes (since clearLogs).
    bool waitReceived(std::size_t count, int ms = 2000);
    std::string lockPath() const { return dir.file("lock/LCK..ttyPBX"); }

    TempDir dir;
    pbxsim::Simulator sim;
    std::string device;
    int fd = -1;
};

