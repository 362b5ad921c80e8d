// kelvoractl's standard output and error.  The program's texts are ISO 8859-1,
// as in the window; a terminal or file under a UTF-8 locale gets them in UTF-8.
#pragma once

#include "link/observer.h"

#include <string>

// Takes the locale from the environment and notes its character set.
void setUpConsole();
// Text of the program (ISO 8859-1) in the locale's character set: UTF-8 under
// a UTF-8 locale, else the bytes as they are.
std::string forLocale(const std::string &latin1);
// The other way: text of the user (arguments, lines read) as ISO 8859-1;
// false when it holds a character ISO 8859-1 has not.
bool fromLocale(const std::string &text, std::string &latin1);
// "kelvoractl: text" on standard error; lines after the first are indented.
void complain(const std::string &latin1);

// Tells the user on standard error: the progress of a transfer on a line of
// its own (only when wanted), and why a transfer failed (always).
class ConsoleObserver : public TransferObserver {
public:
    explicit ConsoleObserver(bool showProgress) : showProgress_(showProgress) {}
    void started(const TransferShow &show) override;
    void progress(int value) override;
    void ended(const TransferTrouble *trouble) override;
    void portFailed(const TransferTrouble &trouble) override;
    // The user has been told why the last transfer failed.
    bool told() const { return told_; }

private:
    void endLine();
    void tell(const TransferTrouble &trouble, const char *head);

    bool showProgress_;
    std::string message_;
    int max_ = 100;
    bool scale_ = false;
    int shown_ = -1;
    bool onLine_ = false;
    bool told_ = false;
};
