// A transfer observer that writes down what it was told, for the tests of
// transfers without a window.
#pragma once

#include "link/transfer.h"

#include <string>
#include <vector>

struct Recording : TransferObserver {
    std::string show;       // "name|message|label|max|scale"
    std::vector<int> steps; // the scale's values
    std::string end;        // "ok", or "code|text|advice|argument"
    std::string port;       // "text|advice|argument" when the port failed
    int starts = 0, ends = 0;
    void started(const TransferShow &s) override
    {
        ++starts;
        show = std::string(s.name) + "|" + s.message + "|" + s.scaleLabel + "|" + std::to_string(s.scaleMax) + "|" +
               (s.scale ? "scale" : "no scale");
    }
    void progress(int value) override { steps.push_back(value); }
    void ended(const TransferTrouble *t) override
    {
        ++ends;
        end = t ? std::to_string(t->code) + "|" + t->text + "|" + (t->advice ? t->advice : "") + "|" + t->adviceArg
                : "ok";
    }
    void portFailed(const TransferTrouble &t) override
    {
        port = t.text + "|" + (t.advice ? t.advice : "") + "|" + t.adviceArg;
    }
};
