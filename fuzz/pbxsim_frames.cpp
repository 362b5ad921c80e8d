// The simulator's frame parser and answers on arbitrary bytes from the line.
//
// A fresh simulator with its default state takes the bytes as if from the
// line (in pieces, the sizes from the input's first byte), then the line falls
// silent.  Checked: every frame it logged as received is as long as its length
// byte says; every answer it sent is a well-formed answer (length byte right,
// at least 4 bytes, checksum over its data right); what it sent is exactly its
// answers one after the other; and no read of a data frame changed the state
// outside a write transmission.
#include "pbxsim/pbxsim.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char *what, std::size_t at)
{
    std::fprintf(stderr, "pbxsim_frames: %s (frame %zu)\n", what, at);
    std::abort();
}

const pbxsim::State &startState()
{
    static const pbxsim::State state = pbxsim::defaultState();
    return state;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    std::size_t piece = std::size_t(data[0] % 64) + 1;
    const pbxsim::Byte *line = data + 1;
    std::size_t count = size - 1;

    pbxsim::Simulator sim(startState());
    for (std::size_t at = 0; at < count; at += piece)
        sim.receive(line + at, std::min(piece, count - at));
    sim.lineGap();

    std::vector<pbxsim::Byte> answers;
    bool wrote = false;
    std::vector<pbxsim::Frame> frames = sim.frames();
    for (std::size_t i = 0; i < frames.size(); i++) {
        const pbxsim::Frame &f = frames[i];
        if (f.bytes.empty() || f.bytes[0] != f.bytes.size())
            fail("frame length differs from its length byte", i);
        if (f.dir == '<') {
            if (f.bytes.size() > 1 && f.bytes[1] == 97)
                wrote = true;
            continue;
        }
        if (f.dir != '>')
            fail("frame of no direction", i);
        if (f.bytes.size() < 4)
            fail("answer shorter than 4 bytes", i);
        unsigned sum = f.bytes[2] | f.bytes[3] << 8;
        if (pbxsim::checksum(f.bytes.data() + 4, f.bytes.size() - 4) != sum)
            fail("answer with a wrong checksum", i);
        answers.insert(answers.end(), f.bytes.begin(), f.bytes.end());
    }
    if (answers != sim.sent())
        fail("bytes sent are not the answers", frames.size());
    // Only a write transmission (begun with 97) may change the state.
    if (!wrote && !(sim.state() == startState()))
        fail("state changed without a write transmission", frames.size());
    // Every byte received is logged as received.
    if (sim.received().size() != count)
        fail("received bytes lost", frames.size());
    return 0;
}
