// A raw client for pbxsim tests: builds frames by hand and reads answers.
#pragma once

#include <gtest/gtest.h>

#include "pbxsim/pbxsim.h"
#include "support/pty_peer.h"
#include "support/sim_line.h"
#include "support/tempdir.h"

#include <memory>

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
