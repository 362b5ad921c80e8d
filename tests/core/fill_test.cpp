#include "resources/fill.h"

#include <gtest/gtest.h>

namespace {

struct Fill {
    const char *text;
    std::vector<std::string> args;
    const char *filled;
};

// The ways the resource texts are written: numbered (a number may come twice),
// "%s" in turn, and texts a user's resources may bring.
TEST(FillPlaceholders, NumberedAndInTurnFromLeftToRight)
{
    const Fill cases[] = {
        {"der Ordner gehört nicht %2; abhelfen: chown %2 %1", {"/b", "ute"},
         "der Ordner gehört nicht ute; abhelfen: chown ute /b"},
        {"Die Datei \"%s\" ist keine %s!", {"a.cfg", "Konfiguration"}, "Die Datei \"a.cfg\" ist keine Konfiguration!"},
        {"%s und %s", {"%s", "x"}, "%s und x"},
        {"%1 %2 %3 %", {"%2"}, "%2 %2 %3 %"},
        {"100% %d", {"x"}, "100% %d"},
    };
    for (const Fill &c : cases)
        EXPECT_EQ(fillPlaceholders(c.text, c.args), c.filled) << c.text;
}

} // namespace
