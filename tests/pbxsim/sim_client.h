// A raw client for pbxsim tests: builds frames by hand and reads answers.
#pragma once

#include <gtest/gtest.h>

#include "pbxsim/pbxsim.h"
#include "support/pty_peer.h"
#include "support/tempdir.h"

#include <memory>

inline Bytes command(int code, int index)
{
    return {5, std::uint8_t(code), 0, 0, std::uint8_t(index)};
}

inline Bytes command6(int code, int index)
{
    Bytes f = {6, std::uint8_t(code), 0, 0, std::uint8_t(index & 0xFF), std::uint8_t(index >> 8)};
    f.resize(16, 0);
    return f;
}

// A data frame with its checksum and padding; subcode < 0 for none.
inline Bytes dataFrame(int code, int subcode, const Bytes &payload)
{
    Bytes f = {0, std::uint8_t(code), 0, 0};
    if (subcode >= 0)
        f.push_back(std::uint8_t(subcode));
    f.insert(f.end(), payload.begin(), payload.end());
    f[0] = std::uint8_t(f.size());
    std::uint16_t sum = pbxsim::checksum(f.data() + 4, f.size() - 4);
    f[2] = std::uint8_t(sum & 0xFF);
    f[3] = std::uint8_t(sum >> 8);
    if (f.size() > 5)
        f.resize(f.size() + 10, 0);
    return f;
}

inline Bytes ack(int code) { return {4, std::uint8_t(code), 0, 0}; }

inline bool checksumOk(const Bytes &answer)
{
    return answer.size() >= 4 &&
           pbxsim::checksum(answer.data() + 4, answer.size() - 4) == (answer[2] | answer[3] << 8);
}

struct SimTest : ::testing::Test {
    TempDir dir;
    pbxsim::Simulator sim;
    std::unique_ptr<PtyClient> client;

    explicit SimTest(pbxsim::State state = pbxsim::defaultState()) : sim(std::move(state)) {}
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(sim.open(dir.file("pbx"), &error)) << error;
        sim.start();
        client = std::make_unique<PtyClient>(dir.file("pbx"));
    }
    // The next answer: zero bytes ahead are skipped, then its length byte says how much.
    Bytes answer(int quiet_ms = 1000)
    {
        Bytes b;
        do
            b = client->receive(1, quiet_ms);
        while (b.size() == 1 && b[0] == 0);
        if (b.empty())
            return b;
        Bytes rest = client->receive(b[0] - 1u, quiet_ms);
        b.insert(b.end(), rest.begin(), rest.end());
        return b;
    }
    Bytes ask(const Bytes &frame)
    {
        client->send(frame);
        return answer();
    }
    void beginRead() { ASSERT_EQ(ask(command(98, 0)), ack(96)); }
    void beginWrite() { ASSERT_EQ(ask(command(97, 0)), ack(96)); }
};
