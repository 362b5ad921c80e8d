// The answering side: pty, frame parsing, answers, faults, pacing and the log.
#include "pbxsim/pbxsim.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace pbxsim {

namespace {

constexpr int FrameGapMs = 1000; // a frame not completed within this is dropped

struct DataCode {
    int code;
    bool subcode;
    std::size_t payload;
};
constexpr DataCode dataCodes[] = {
    {32, true, PortWriteSize},       {33, true, S0TlnSize},          {34, false, RufnrWriteSize},
    {35, false, BerWriteSize},       {36, false, RufVertWriteSize},  {37, false, GebKonfWriteSize},
    {38, false, StKonWriteSize},     {39, false, PrefixSize},        {40, false, PrefixSize},
    {41, true, KwzBlockSlots * KwzSlotSize}, {42, false, AnlDatSize}, {43, true, TlnSize - 1},
    {44, false, 124},                {45, false, 1},
};

const DataCode *dataCode(int code)
{
    for (const DataCode &d : dataCodes)
        if (d.code == code)
            return &d;
    return nullptr;
}

std::string hexLine(const std::vector<Byte> &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string s;
    for (Byte b : bytes) {
        s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

template <std::size_t N> std::vector<Byte> bytesOf(const std::array<Byte, N> &a, std::size_t from = 0,
                                                   std::size_t count = N)
{
    return std::vector<Byte>(a.begin() + long(from), a.begin() + long(from + count));
}

void makeRaw(int fd)
{
    struct termios t;
    if (tcgetattr(fd, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(fd, TCSANOW, &t);
    }
}

// A raw pty pair, the master non-blocking; both closed on exec.
bool openLine(int &master, int &slave, std::string &name, std::string *error)
{
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        *error = std::string("openpty: ") + std::strerror(errno);
        return false;
    }
    char buf[256];
    if (ptsname_r(master, buf, sizeof buf) != 0) {
        *error = std::string("ptsname: ") + std::strerror(errno);
        close(master);
        close(slave);
        master = slave = -1;
        return false;
    }
    name = buf;
    makeRaw(master);
    makeRaw(slave);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    fcntl(slave, F_SETFD, FD_CLOEXEC);
    return true;
}

} // namespace

Simulator::Simulator(State state) : state_(std::move(state)) {}

Simulator::~Simulator()
{
    stop();
    for (int fd : {master_, slave_, wake_[0], wake_[1]})
        if (fd >= 0)
            close(fd);
    if (log_)
        std::fclose(log_);
}

bool Simulator::open(const std::string &link_path, std::string *error)
{
    std::string name;
    if (!openLine(master_, slave_, name, error))
        return false;
    {
        std::lock_guard lock(mutex_);
        slave_name_ = name;
    }
    if (pipe2(wake_, O_NONBLOCK | O_CLOEXEC) != 0) {
        *error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (!link_path.empty()) {
        struct stat st;
        if (lstat(link_path.c_str(), &st) == 0) {
            // Only a link left behind by an earlier run may be replaced.
            struct stat target;
            if (!S_ISLNK(st.st_mode) || stat(link_path.c_str(), &target) == 0) {
                *error = link_path + " exists";
                return false;
            }
            unlink(link_path.c_str());
        }
        if (symlink(name.c_str(), link_path.c_str()) != 0) {
            *error = link_path + ": " + std::strerror(errno);
            return false;
        }
        std::lock_guard lock(mutex_);
        link_ = link_path;
    }
    return true;
}

std::string Simulator::path() const
{
    std::lock_guard lock(mutex_);
    return link_.empty() ? slave_name_ : link_;
}

std::string Simulator::slaveName() const
{
    std::lock_guard lock(mutex_);
    return slave_name_;
}

int Simulator::hangUps() const
{
    std::lock_guard lock(mutex_);
    return hang_ups_;
}

void Simulator::start()
{
    // The program's pauses use SIGALRM; it must never be taken by this thread.
    char drain[16];
    while (read(wake_[0], drain, sizeof drain) > 0) {
    }
    stopping_ = false;
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &old);
    thread_ = std::thread([this] { loop(); });
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
}

void Simulator::run() { loop(); }

void Simulator::requestStop()
{
    stopping_ = true;
    if (wake_[1] >= 0) {
        ssize_t n = write(wake_[1], "x", 1);
        (void)n;
    }
}

void Simulator::stop()
{
    requestStop();
    if (thread_.joinable())
        thread_.join();
    if (!link_.empty()) {
        char target[256];
        ssize_t n = readlink(link_.c_str(), target, sizeof target - 1);
        if (n >= 0 && std::string(target, std::size_t(n)) == slave_name_)
            unlink(link_.c_str());
        std::lock_guard lock(mutex_);
        link_.clear();
    }
}

void Simulator::setFaults(const Faults &faults)
{
    std::lock_guard lock(mutex_);
    faults_ = faults;
    data_frames_ = 0;
    answers_ = 0;
}

void Simulator::setBaud(long baud)
{
    std::lock_guard lock(mutex_);
    baud_ = baud > 0 ? baud : 0;
}

bool Simulator::setLogFile(const std::string &path, std::string *error)
{
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (!f) {
        *error = path + ": " + std::strerror(errno);
        return false;
    }
    std::lock_guard lock(mutex_);
    if (log_)
        std::fclose(log_);
    log_ = f;
    return true;
}

State Simulator::state() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

void Simulator::setState(const State &state)
{
    std::lock_guard lock(mutex_);
    state_ = state;
}

void Simulator::modifyState(const std::function<void(State &)> &change)
{
    std::lock_guard lock(mutex_);
    change(state_);
}

std::vector<Frame> Simulator::frames() const
{
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<Byte> Simulator::received() const
{
    std::lock_guard lock(mutex_);
    return received_;
}

std::vector<Byte> Simulator::sent() const
{
    std::lock_guard lock(mutex_);
    return sent_;
}

void Simulator::clearLogs()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
    received_.clear();
    sent_.clear();
}

bool Simulator::waitForFrames(std::size_t count, int timeout_ms) const
{
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return frames_.size() >= count; });
}

// ---------------------------------------------------------------- the loop

void Simulator::loop()
{
    while (!stopping_) {
        int timeout = partial_.empty() && zero_run_ == 0 ? -1 : FrameGapMs;
        struct pollfd fds[2] = {{master_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        int n = poll(fds, 2, timeout);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents)
            break;
        if (n == 0) {
            lineGap();
            continue;
        }
        Byte buf[512];
        ssize_t got = read(master_, buf, sizeof buf);
        if (got > 0) {
            feed(buf, std::size_t(got));
        } else if (got < 0 && errno != EAGAIN && errno != EINTR) {
            // Not expected while we hold the slave open; don't spin.
            struct timespec pause = {0, 10 * 1000 * 1000};
            nanosleep(&pause, nullptr);
        }
    }
    flushZeroRun();
    // Let a later start() run again.
    char drain[16];
    while (read(wake_[0], drain, sizeof drain) > 0) {
    }
    stopping_ = false;
}

void Simulator::lineGap()
{
    flushZeroRun();
    if (!partial_.empty()) {
        logNote("incomplete frame dropped:" + hexLine(partial_));
        partial_.clear();
    }
}

void Simulator::feed(const Byte *bytes, std::size_t count)
{
    Clock::time_point now = Clock::now();
    long baud;
    {
        std::lock_guard lock(mutex_);
        received_.insert(received_.end(), bytes, bytes + count);
        baud = baud_;
    }
    auto byte_time = std::chrono::nanoseconds(baud ? 11'000'000'000LL / baud : 0);
    hung_up_ = false;
    for (std::size_t i = 0; i < count && !stopping_ && !hung_up_; i++) {
        Byte b = bytes[i];
        if (baud)
            in_clock_ = std::max(in_clock_, now) + byte_time;
        if (partial_.empty()) {
            if (b == 0) {
                zero_run_++;
                continue;
            }
            flushZeroRun();
        }
        partial_.push_back(b);
        if (partial_.size() == partial_[0]) {
            std::vector<Byte> frame;
            frame.swap(partial_);
            if (baud && !sleepUntil(in_clock_))
                return;
            handleFrame(frame);
        }
    }
}

void Simulator::setLineWatch(bool on)
{
    std::lock_guard lock(mutex_);
    line_watch_ = on;
}

std::string Simulator::lineSettings() const
{
    std::lock_guard lock(mutex_);
    return line_settings_;
}

// "4800 8N2 RTS/CTS": what the line is set to at the other end (a pty master
// reads its slave's settings).
void Simulator::watchLine()
{
    struct termios t;
    {
        std::lock_guard lock(mutex_);
        if (!line_watch_)
            return;
    }
    if (tcgetattr(master_, &t) != 0)
        return;
    static const struct {
        speed_t code;
        long baud;
    } speeds[] = {{B1200, 1200}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600}, {B19200, 19200}, {B38400, 38400},
                  {B57600, 57600}, {B115200, 115200}};
    long baud = 0;
    for (const auto &s : speeds)
        if (cfgetispeed(&t) == s.code)
            baud = s.baud;
    int bits = (t.c_cflag & CSIZE) == CS5 ? 5 : (t.c_cflag & CSIZE) == CS6 ? 6 : (t.c_cflag & CSIZE) == CS7 ? 7 : 8;
    char parity = !(t.c_cflag & PARENB) ? 'N' : (t.c_cflag & PARODD) ? 'O' : 'E';
    std::string text = std::to_string(baud) + " " + std::to_string(bits) + parity +
                       ((t.c_cflag & CSTOPB) ? "2" : "1") + ((t.c_cflag & CRTSCTS) ? " RTS/CTS" : " no flow control");
    bool changed;
    {
        std::lock_guard lock(mutex_);
        changed = text != line_settings_;
        line_settings_ = text;
    }
    if (changed)
        logNote("line " + text);
}

void Simulator::handleFrame(const std::vector<Byte> &frame)
{
    watchLine();
    logFrame('<', frame);
    if (frame.size() < 4) {
        logNote("frame shorter than 4 bytes ignored");
        return;
    }
    int code = frame[1];
    if (dataCode(code))
        handleData(frame);
    else if (frame.size() == 5 || frame.size() == 6)
        handleCommand(code, frame.size() == 6 ? frame[4] | frame[5] << 8 : frame[4]);
    else
        answerAck(AckCommand);
}

void Simulator::handleCommand(int code, int index)
{
    int refuse;
    {
        std::lock_guard lock(mutex_);
        refuse = faults_.refuse_begin;
    }
    switch (code) {
    case 97:
    case 98:
        if (refuse) {
            mode_ = Mode::Idle;
            logNote("begin refused with " + std::to_string(refuse));
            answerAck(refuse);
        } else {
            mode_ = code == 97 ? Mode::Writing : Mode::Reading;
            answerAck(AckOk);
        }
        return;
    case 99:
        mode_ = Mode::Idle;
        answerAck(AckOk);
        return;
    default:
        break;
    }

    bool known = (code >= 0 && code <= 14) || code == 64;
    if (!known) {
        answerAck(AckCommand);
        return;
    }
    if (mode_ != Mode::Reading) {
        logNote("read command outside a read transmission");
        answerAck(AckPriority);
        return;
    }

    std::vector<Byte> data;
    bool valid = true;
    {
        std::lock_guard lock(mutex_);
        const State &s = state_;
        std::size_t i = std::size_t(index);
        switch (code) {
        case 0:
            valid = index < PortCount;
            if (valid) {
                data.push_back(Byte(s.port_count));
                data.insert(data.end(), s.ports[i].begin(), s.ports[i].end());
            }
            break;
        case 1:
            valid = index < PortCount;
            if (valid)
                data = bytesOf(s.ports[i], S0TlnOffset, S0TlnSize);
            break;
        case 2: data = bytesOf(s.rufnr); break;
        case 3: data = bytesOf(s.ber); break;
        case 4: data = bytesOf(s.rufvert); break;
        case 5: data = bytesOf(s.gebkonf); break;
        case 6: data = bytesOf(s.stkon); break;
        case 7: data = bytesOf(s.nahber); break;
        case 8: data = bytesOf(s.sperrber); break;
        case 10: data = bytesOf(s.anldat); break;
        case 9:
            valid = index < KwzSlots;
            if (valid) {
                std::size_t slots = std::min<std::size_t>(KwzBlockSlots, std::size_t(KwzSlots) - i);
                data = bytesOf(s.kwz, i * KwzSlotSize, slots * KwzSlotSize);
            }
            break;
        case 11:
            valid = index < TlnCount;
            if (valid)
                data = bytesOf(s.tln[i]);
            break;
        case 12:
            for (std::uint32_t c : s.counters)
                for (int k = 0; k < 4; k++)
                    data.push_back(Byte(c >> (8 * k)));
            break;
        case 13:
            for (std::size_t k = i; k < s.outcalls.size() && k < i + OutCallsPerAnswer; k++)
                data.insert(data.end(), s.outcalls[k].begin(), s.outcalls[k].end());
            break;
        case 14:
            for (std::size_t k = i; k < s.incalls.size() && k < i + InCallsPerAnswer; k++)
                data.insert(data.end(), s.incalls[k].begin(), s.incalls[k].end());
            break;
        case 64:
            data.assign(s.version.begin(), s.version.begin() + long(std::min<std::size_t>(s.version.size(), VersionMax)));
            data.push_back(0);
            break;
        default:
            valid = false; // codes 15..63 carry nothing
            break;
        }
    }
    if (valid)
        answerData(code, data);
    else
        answerAck(AckCommand);
}

void Simulator::handleData(const std::vector<Byte> &frame)
{
    bool refused;
    int refuse;
    {
        std::lock_guard lock(mutex_);
        ++data_frames_;
        refused = faults_.refuse_data_at == data_frames_;
        refuse = faults_.refuse_data_code;
    }
    if (refused) {
        logNote("data frame refused with " + std::to_string(refuse));
        answerAck(refuse);
        return;
    }
    unsigned sent_sum = frame[2] | frame[3] << 8;
    if (checksum(frame.data() + 4, frame.size() - 4) != sent_sum) {
        logNote("data frame with a wrong checksum");
        answerAck(AckChecksum);
        return;
    }
    if (mode_ != Mode::Writing) {
        logNote("data frame outside a write transmission");
        answerAck(AckPriority);
        return;
    }
    answerAck(applyData(frame[1], frame));
}

int Simulator::applyData(int code, const std::vector<Byte> &frame)
{
    const DataCode *d = dataCode(code);
    std::size_t head = d->subcode ? 5 : 4;
    if (frame.size() != head + d->payload) {
        logNote("data frame of the wrong length");
        return AckCommand;
    }
    std::size_t sub = d->subcode ? frame[4] : 0;
    const Byte *p = frame.data() + head;
    std::lock_guard lock(mutex_);
    State &s = state_;
    switch (code) {
    case 32:
        if (sub >= PortCount)
            return AckCommand;
        std::copy(p, p + d->payload, s.ports[sub].begin());
        break;
    case 33:
        if (sub >= PortCount)
            return AckCommand;
        std::copy(p, p + d->payload, s.ports[sub].begin() + S0TlnOffset);
        break;
    case 34: std::copy(p, p + d->payload, s.rufnr.begin()); break;
    case 35: std::copy(p, p + d->payload, s.ber.begin()); break;
    case 36: std::copy(p, p + d->payload, s.rufvert.begin()); break;
    case 37: std::copy(p, p + d->payload, s.gebkonf.begin()); break;
    case 38: std::copy(p, p + d->payload, s.stkon.begin()); break;
    case 39: std::copy(p, p + d->payload, s.nahber.begin()); break;
    case 40: std::copy(p, p + d->payload, s.sperrber.begin()); break;
    case 42: std::copy(p, p + d->payload, s.anldat.begin()); break;
    case 41:
        if (sub + KwzBlockSlots > std::size_t(KwzSlots))
            return AckCommand;
        std::copy(p, p + d->payload, s.kwz.begin() + long(sub * KwzSlotSize));
        break;
    case 43:
        if (sub >= std::size_t(TlnCount))
            return AckCommand;
        s.tln[sub][0] = Byte(sub);
        std::copy(p, p + d->payload, s.tln[sub].begin() + 1);
        break;
    case 44:
        for (std::uint32_t &c : s.counters)
            if (c != NoCounter)
                c = 0;
        break;
    case 45:
        s.outcalls.clear();
        break;
    }
    return AckOk;
}

// ---------------------------------------------------------------- answers

void Simulator::answerAck(int code) { sendAnswer({4, Byte(code), 0, 0}); }

void Simulator::answerData(int code, const std::vector<Byte> &data)
{
    std::vector<Byte> frame = {Byte(4 + data.size()), Byte(code), 0, 0};
    frame.insert(frame.end(), data.begin(), data.end());
    uint16_t sum = checksum(data.data(), data.size());
    frame[2] = Byte(sum & 0xFF);
    frame[3] = Byte(sum >> 8);
    sendAnswer(std::move(frame));
}

void Simulator::sendAnswer(std::vector<Byte> frame)
{
    AnswerFaultAt fault{AnswerFault::BadChecksum, 0, 0};
    bool faulty = false;
    int zeros;
    {
        std::lock_guard lock(mutex_);
        ++answers_;
        for (const AnswerFaultAt &f : faults_.answers)
            if (f.answer == answers_) {
                fault = f;
                faulty = true;
                break;
            }
        zeros = std::max(0, faults_.leading_zeros);
    }
    std::size_t cut = SIZE_MAX;
    if (faulty) {
        switch (fault.kind) {
        case AnswerFault::Silent:
            logNote("answer withheld:" + hexLine(frame));
            return;
        case AnswerFault::HangUp:
            logNote("answer withheld, line hung up:" + hexLine(frame));
            hangUp();
            return;
        case AnswerFault::BadChecksum:
            frame[2] ^= 0x5A;
            logNote("answer with a wrong checksum");
            break;
        case AnswerFault::CutShort:
            cut = std::size_t(std::max(0, fault.n));
            logNote("answer cut short after " + std::to_string(cut) + " bytes");
            break;
        case AnswerFault::OverLong: {
            std::size_t n = std::size_t(std::clamp(fault.n, 0, 251));
            frame.resize(4 + n, 0xEE);
            frame[0] = Byte(4 + n);
            uint16_t sum = checksum(frame.data() + 4, n);
            frame[2] = Byte(sum & 0xFF);
            frame[3] = Byte(sum >> 8);
            logNote("answer stretched to " + std::to_string(n) + " data bytes");
            break;
        }
        }
    }
    cut = std::min(cut, frame.size());
    std::vector<Byte> out(std::size_t(zeros), 0);
    out.insert(out.end(), frame.begin(), frame.begin() + long(cut));
    if (zeros)
        logZeros('>', std::size_t(zeros));
    logFrame('>', std::vector<Byte>(frame.begin(), frame.begin() + long(cut)));
    writeOut(out.data(), out.size());
}

bool Simulator::writeOut(const Byte *bytes, std::size_t count)
{
    long baud;
    {
        std::lock_guard lock(mutex_);
        baud = baud_;
    }
    if (master_ < 0) {
        // No line: the answer is only logged.
        std::lock_guard lock(mutex_);
        sent_.insert(sent_.end(), bytes, bytes + count);
        return true;
    }
    auto byte_time = std::chrono::nanoseconds(baud ? 11'000'000'000LL / baud : 0);
    // The line is busy from the first byte to the last: only an idle line
    // catches up with the clock, or every late wake-up would slow it down.
    if (baud)
        out_clock_ = std::max(out_clock_, Clock::now());
    std::size_t done = 0;
    while (done < count) {
        std::size_t chunk = count - done;
        if (baud) {
            // A byte reaches the other end when its 11 bits have gone by.
            out_clock_ += byte_time;
            if (!sleepUntil(out_clock_))
                return false;
            chunk = 1;
        }
        ssize_t n = write(master_, bytes + done, chunk);
        if (n > 0) {
            std::lock_guard lock(mutex_);
            sent_.insert(sent_.end(), bytes + done, bytes + done + n);
            done += std::size_t(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        struct pollfd fds[2] = {{master_, POLLOUT, 0}, {wake_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) > 0 && fds[1].revents)
            return false;
    }
    return true;
}

bool Simulator::sleepUntil(Clock::time_point when)
{
    for (;;) {
        auto left = when - Clock::now();
        if (left <= Clock::duration::zero())
            return true;
        auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        struct timespec ts = {time_t(ns / 1'000'000'000), long(ns % 1'000'000'000)};
        struct pollfd wake = {wake_[0], POLLIN, 0};
        int n = ppoll(&wake, 1, &ts, nullptr);
        if (n > 0)
            return false;
    }
}

// The fresh pty is opened and the link moved to it before the old line is
// closed: once the program sees the line go, the link leads to the new one.
void Simulator::hangUp()
{
    int master = -1, slave = -1;
    std::string name, error;
    bool fresh = openLine(master, slave, name, &error);
    std::string link;
    {
        std::lock_guard lock(mutex_);
        link = link_;
    }
    if (fresh && !link.empty()) {
        std::string next = link + ".new";
        unlink(next.c_str());
        if (symlink(name.c_str(), next.c_str()) != 0 || rename(next.c_str(), link.c_str()) != 0)
            error = link + ": " + std::strerror(errno);
    }
    if (fresh) {
        std::lock_guard lock(mutex_);
        slave_name_ = name;
    }
    close(master_); // the program's end of the line is hung up now
    close(slave_);
    master_ = master;
    slave_ = slave;
    mode_ = Mode::Idle;
    partial_.clear();
    zero_run_ = 0;
    hung_up_ = true;
    logNote(fresh && error.empty() ? "line hung up; the line is now " + name : "line hung up; " + error);
    std::lock_guard lock(mutex_);
    ++hang_ups_;
    changed_.notify_all();
}

// ---------------------------------------------------------------- log

void Simulator::logFrame(char dir, const std::vector<Byte> &bytes)
{
    std::lock_guard lock(mutex_);
    frames_.push_back({dir, bytes});
    if (log_) {
        std::fprintf(log_, "%c%s\n", dir, hexLine(bytes).c_str());
        std::fflush(log_);
    }
    changed_.notify_all();
}

void Simulator::logZeros(char dir, std::size_t count)
{
    std::lock_guard lock(mutex_);
    if (log_) {
        std::fprintf(log_, "%c 00*%zu\n", dir, count);
        std::fflush(log_);
    }
}

void Simulator::logNote(const std::string &text)
{
    std::lock_guard lock(mutex_);
    if (log_) {
        std::fprintf(log_, "# %s\n", text.c_str());
        std::fflush(log_);
    }
}

void Simulator::flushZeroRun()
{
    if (zero_run_) {
        logZeros('<', zero_run_);
        zero_run_ = 0;
    }
}

} // namespace pbxsim
