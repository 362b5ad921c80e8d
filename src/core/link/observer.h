// What a transmission tells whoever started it: that it runs, how far it got,
// and how it ended.  The window shows it in the working dialog and the
// transfer error box; kelvoractl on standard error.  Nothing here knows how.
#pragma once

#include <string>

// The working display of a transfer, as the window's working dialog has it.
struct TransferShow {
    const char *name;       // "cfgreadwbox": the window's dialog (and resource) name
    const char *message;    // "Konfiguration lesen"
    const char *scaleLabel; // "Prozent:"; "" without a scale
    int scaleMax;           // the scale runs from 0 to this
    bool scale;             // a scale is shown at all
};

// The end of a transmission that could not do its work.  Texts are ISO 8859-1.
struct TransferTrouble {
    int code;             // the end code (answer codes, -1 none); 0 when the port would not open
    std::string text;     // what the window's error box says: "CRC-Fehler", or why the port failed
    const char *advice;   // the advice that fits (link/protocol.h, advice::...), nullptr when none is known
    std::string adviceArg; // what the advice's "%s" stands for: the device, the lock holder, the lock directory
    // A programming run that failed after the PBX took one of its data frames:
    // the PBX now holds part of it (the "partly" line is told too).
    bool partly = false;
    // A port that would not open: the port layer's line for standard error
    // ("Cannot open ..."), "" when it has none.
    std::string portLine = {};
};

class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // The port is open and the transmission begins.
    virtual void started(const TransferShow &) {}
    // The scale's new value (0..scaleMax).
    virtual void progress(int) {}
    // The port is closed again, the transmission ended; trouble is nullptr
    // when it ended with 96 or 0, which the user is not told about.
    virtual void ended(const TransferTrouble *) {}
    // The port could not be opened: nothing was sent.  The port layer has
    // written its own lines on standard error.
    virtual void portFailed(const TransferTrouble &) {}
};

// The advice line as the built-in resources word it, "%s" replaced by arg;
// "" when there is none (for observers without the window's resources).
std::string builtinAdvice(const char *which, const std::string &arg);
