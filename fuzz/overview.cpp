// The overview page and the check on an arbitrary configuration and call
// list: a flags byte (bit 0 the directory, bit 1 subscriber data), the
// configuration's bytes, then the text of a call list.  Checked: the page is
// UTF-8 without control characters but line ends, runs no script, closes
// every row and drawing it opens; a finding is one line of characters.
#include "config/record.h"
#include "fuzzfile.h"
#include "overview/facts.h"
#include "overview/page.h"
#include "phonebook/latin1.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

namespace {

std::size_t count(const std::string &text, const char *what)
{
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; at++)
        n++;
    return n;
}

void checkText(const std::string &text, bool lineEnds, const char *what)
{
    for (std::size_t i = 0; i < text.size(); i++) {
        auto c = static_cast<unsigned char>(text[i]);
        if ((c < 0x20 && !(lineEnds && c == '\n')) || c == 0x7F)
            fuzzFail("overview", what, i);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]());
    std::size_t image = std::min(size - 1, rec::PbxImageSize);
    std::memcpy(record.get(), data + 1, image);
    std::string callText(reinterpret_cast<const char *>(data) + 1 + image, size - 1 - image);

    overview::Calls calls;
    std::string why;
    bool read = overview::readCallCsv(callText, {2026, 12, 10}, calls, why);
    overview::PageInput in;
    in.record = record.get();
    in.fileName = "f\"uzz<&\n>.cfg";
    in.made = "10.12.2026 12:00";
    in.speedDial = data[0] & 1;
    in.subscriberData = data[0] & 2;
    if (read)
        (calls.outgoing ? in.outgoing : in.incoming) = &calls;
    std::string page = overview::overviewPage(in);

    if (!phonebook::isUtf8(page))
        fuzzFail("overview", "page is no UTF-8", 0);
    checkText(page, true, "control character in the page");
    if (page.find("<script") != std::string::npos)
        fuzzFail("overview", "a script in the page", page.find("<script"));
    if (count(page, "<tr>") != count(page, "</tr>") || count(page, "<svg") != count(page, "</svg>") ||
        count(page, "<style>") != 1 || count(page, "</style>") != 1)
        fuzzFail("overview", "an element opened and not closed", 0);
    for (const overview::Finding &f : overview::check(overview::derive(record.get()), record.get()))
        checkText(f.text, false, "control character in a finding");
    return 0;
}
