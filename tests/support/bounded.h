// A call that might hang, run in a forked child with a time limit, so that a
// hang fails the test instead of blocking it.
#pragma once

#include <functional>
#include <string>

struct Bounded {
    bool finished = false; // false: still running at the limit, and killed
    int result = 0;        // the body's result, as a signed byte
    double seconds = 0;
    std::string out;       // its standard error, then its standard output
};

Bounded runBounded(double limit_seconds, const std::function<int()> &body);
