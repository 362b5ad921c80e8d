// pbxsim: a stand-in for the PBX at the other end of kelvora's serial line.
//
// It opens a pseudo-terminal pair, answers the program's frames from a state
// holding every list the PBX keeps, and can inject faults.  Nothing here is
// shared with the program: the frame parsing and the checksum are our own, so
// that a mistake on one side of the line cannot hide a mistake on the other.
//
// Use from a test:
//     pbxsim::Simulator sim;                 // default content
//     std::string err;
//     ASSERT_TRUE(sim.open(dir.file("pbx"), &err)) << err;
//     sim.start();                           // answers in a thread of its own
//     ... talk to dir.file("pbx") ...
//     sim.stop();                            // or let the destructor do it
//     sim.frames(), sim.received(), sim.state()
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pbxsim {

using Byte = std::uint8_t;

// Sizes of the lists as the PBX keeps and sends them.
constexpr int PortCount = 3;
constexpr int PortBlockSize = 195;
constexpr int PortWriteSize = 186;  // bytes 0..185 of a port block are written with code 32
constexpr int S0TlnOffset = 115;    // the S0 subscriber data lies inside the port block
constexpr int S0TlnSize = 79;
constexpr int RufnrSize = 200, RufnrWriteSize = 100;
constexpr int BerSize = 100, BerWriteSize = 50;
constexpr int RufVertSize = 100, RufVertWriteSize = 50;
constexpr int GebKonfSize = 176, GebKonfWriteSize = 88;
constexpr int StKonSize = 238, StKonWriteSize = 119;
constexpr int AnlDatSize = 112;
constexpr int VersionMax = 250;     // text without its terminating 0
constexpr int TlnCount = 30, TlnSize = 124;
constexpr int KwzSlots = 200, KwzSlotSize = 25, KwzBlockSlots = 8;
constexpr int PrefixSize = 120;
constexpr int CounterCount = 30;
constexpr std::uint32_t NoCounter = 0x5A5A5A5A;
constexpr int OutCallSize = 23, MaxOutCalls = 1000, OutCallsPerAnswer = 10;
constexpr int InCallSize = 17, MaxInCalls = 75, InCallsPerAnswer = 14;

// Answer codes.
constexpr int AckOk = 96, AckChecksum = 105, AckCommand = 106, AckPriority = 107, AckTransfer = 108;

using OutCall = std::array<Byte, OutCallSize>;
using InCall = std::array<Byte, InCallSize>;

struct State {
    int port_count = 3; // 1..3
    std::array<std::array<Byte, PortBlockSize>, PortCount> ports{};
    std::array<Byte, RufnrSize> rufnr{};
    std::array<Byte, BerSize> ber{};
    std::array<Byte, RufVertSize> rufvert{};
    std::array<Byte, GebKonfSize> gebkonf{};
    std::array<Byte, StKonSize> stkon{};
    std::array<Byte, AnlDatSize> anldat{};
    std::string version;
    std::array<std::array<Byte, TlnSize>, TlnCount> tln{};
    std::array<Byte, KwzSlots * KwzSlotSize> kwz{};
    std::array<Byte, PrefixSize> nahber{};
    std::array<Byte, PrefixSize> sperrber{};
    std::array<std::uint32_t, CounterCount> counters{};
    std::vector<OutCall> outcalls; // at most MaxOutCalls
    std::vector<InCall> incalls;   // at most MaxInCalls

    bool operator==(const State &) const = default;
};

// Everything zero, every counter "none", no call records, three ports.
State emptyState();
// A three-port PBX with internal numbers, a version text, subscriber records
// with a few settings, some speed-dial numbers, charge counters and call records.
State defaultState();

// The state file: a text file, one list per line (see README.md).
bool saveState(const State &state, const std::string &path, std::string *error);
bool loadState(State &state, const std::string &path, std::string *error);

uint16_t checksum(const Byte *data, std::size_t count);

// HangUp: instead of the answer, the simulator closes its end of the line (the
// program reads end of file, its writes fail) and at once opens a fresh pty,
// moving the link to it, so the next open of the link finds it again.
enum class AnswerFault { BadChecksum, Silent, CutShort, OverLong, HangUp };

struct AnswerFaultAt {
    AnswerFault kind;
    int answer; // 1 = the first answer sent after the faults were set (acknowledgements count)
    int n;      // CutShort: bytes sent; OverLong: data bytes (at most 251)
};

struct Faults {
    int refuse_begin = 0;    // answer code for begin commands 97/98; 0 = accept
    int refuse_data_at = 0;  // 1 = the first data frame after the faults were set; 0 = none
    int refuse_data_code = 0;
    std::vector<AnswerFaultAt> answers;
    int leading_zeros = 0;   // zero bytes sent ahead of every answer
};

// One frame on the line: '<' received from the program, '>' sent to it.
struct Frame {
    char dir;
    std::vector<Byte> bytes;
};

class Simulator {
public:
    explicit Simulator(State state = defaultState());
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Opens the pty pair; with a link path, makes it a symlink to the slave
    // (a dangling symlink is replaced, anything else there is an error).
    bool open(const std::string &link_path, std::string *error);
    // Where the program should open the line: the link, else the slave's name.
    std::string path() const;
    std::string slaveName() const; // changes when the line was hung up
    // How many times a HangUp fault closed the line (and a fresh one was opened).
    int hangUps() const;

    // Answers in a thread of its own (all signals blocked there).
    void start();
    // Stops the thread (or run()) and removes the link.
    void stop();
    // Answers in the calling thread until requestStop().
    void run();
    // Safe in a signal handler.
    void requestStop();

    // The answering without the loop: bytes as if they came from the line are
    // parsed into frames and answered, and lineGap() is the line falling silent
    // for a frame gap (an incomplete frame is dropped).  Without an open pty the
    // answers go only to the logs (sent(), frames()).  Not while start()ed.
    void receive(const Byte *bytes, std::size_t count) { feed(bytes, count); }
    void lineGap();

    void setFaults(const Faults &faults); // also restarts the frame and answer counts
    void setBaud(long baud);              // 0: as fast as the pty goes; else 11 bits per byte
    bool setLogFile(const std::string &path, std::string *error);
    // Looks at the line's settings (as whoever opened the other end set them)
    // at every frame received, and logs them as a note "line 4800 8N2 RTS/CTS"
    // when they changed.
    void setLineWatch(bool on);
    std::string lineSettings() const; // the last seen; "" before the first frame

    State state() const;
    void setState(const State &state);
    void modifyState(const std::function<void(State &)> &change);

    std::vector<Frame> frames() const;
    std::vector<Byte> received() const; // every byte from the program, zeros included
    std::vector<Byte> sent() const;     // every byte to the program
    void clearLogs();
    // Waits until at least count frames were logged; false on time-out.
    bool waitForFrames(std::size_t count, int timeout_ms) const;

private:
    using Clock = std::chrono::steady_clock;
    enum class Mode { Idle, Reading, Writing };

    void loop();
    void feed(const Byte *bytes, std::size_t count);
    void handleFrame(const std::vector<Byte> &frame);
    void handleCommand(int code, int index);
    void handleData(const std::vector<Byte> &frame);
    int applyData(int code, const std::vector<Byte> &frame);
    void answerAck(int code);
    void answerData(int code, const std::vector<Byte> &data);
    void sendAnswer(std::vector<Byte> frame);
    bool writeOut(const Byte *bytes, std::size_t count);
    bool sleepUntil(Clock::time_point when);
    void logFrame(char dir, const std::vector<Byte> &bytes);
    void logZeros(char dir, std::size_t count);
    void logNote(const std::string &text);
    void flushZeroRun();
    void hangUp();
    void watchLine();

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    State state_;
    Faults faults_;
    int data_frames_ = 0;
    int answers_ = 0;
    int hang_ups_ = 0;
    long baud_ = 0;
    bool line_watch_ = false;
    std::string line_settings_;
    std::FILE *log_ = nullptr;
    std::vector<Frame> frames_;
    std::vector<Byte> received_;
    std::vector<Byte> sent_;

    int master_ = -1;
    int slave_ = -1; // kept open so the master never sees a hang-up between transfers
    int wake_[2] = {-1, -1};
    std::string slave_name_;
    std::string link_;
    std::thread thread_;
    std::atomic<bool> stopping_{false};

    // Owned by the answering thread.
    Mode mode_ = Mode::Idle;
    std::vector<Byte> partial_;
    std::size_t zero_run_ = 0;
    Clock::time_point in_clock_{};
    Clock::time_point out_clock_{};
    bool hung_up_ = false; // the bytes being fed came from a line now closed
};

} // namespace pbxsim
