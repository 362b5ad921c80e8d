// Call records on arbitrary bytes: a record of either list formatted in both
// forms with names from a speed-dial directory made of the input, and an
// answer copied into a store.  Checked: numbers are at most 24 characters of
// the digit set or one of the two fixed texts, an empty record gives no line, a
// line has all its columns, and the copy takes whole records of the answer's
// data bytes into the store's room and changes nothing else.
#include "charges/callformat.h"
#include "config/record.h"
#include "fuzzfile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void checkNumber(const std::string &number)
{
    if (number == "-----" || number == "#9")
        return;
    if (number.size() > 24)
        fuzzFail("calls", "number longer than 24 digits", number.size());
    for (char c : number)
        if (c < '0' || c > '>')
            fuzzFail("calls", "number character outside 0..9 and the five after it", std::size_t(c));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1 + OutCallSize)
        return 0;
    std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]());
    all = record.get();
    // What follows the call record is the directory's numbers and names.
    std::size_t directory = std::min(size - 1 - OutCallSize, rec::KwzCount * (rec::KwzNumberSize + rec::KwzNameSize));
    std::memcpy(all + rec::KwzNumbers, data + 1 + OutCallSize, directory);
    setRecInt(rec::KwzPresent, data[0] & 1);

    // Exactly the record's bytes, so reading past them shows.
    std::unique_ptr<unsigned char[]> call(new unsigned char[OutCallSize]);
    std::memcpy(call.get(), data + 1, OutCallSize);
    checkNumber(get_Phonenumber(call.get() + OutCallSize - CallNumberSize));
    std::string text = printOutcallbuf(int(data[0]) * 4, call.get(), CallForm::Text);
    std::string csv = printOutcallbuf(int(data[0]) * 4, call.get(), CallForm::Spreadsheet);
    std::string in = printIncallbuf(int(data[0]), call.get() + OutCallSize - InCallSize);
    bool empty = call[OutCallSize - InCallSize] == 0;
    if (empty != text.empty() || empty != csv.empty() || empty != in.empty())
        fuzzFail("calls", "an empty record gives a line, or a record none", 0);
    if (!empty && (text.size() < 94 || in.size() < 78 || std::count(csv.begin(), csv.end(), ',') < 6))
        fuzzFail("calls", "a line lacks columns", text.size());

    // The rest of the input as an answer into a store of the incoming list's size.
    int length = int(std::min<std::size_t>(size - 1, 255));
    std::unique_ptr<unsigned char[]> answer(new unsigned char[std::size_t(length)]);
    std::memcpy(answer.get(), data + 1, std::size_t(length));
    constexpr unsigned char Fill = 0x5A;
    std::vector<unsigned char> store(std::size_t(InCallCount) * InCallSize, Fill);
    int received = data[0] % (InCallCount + 5);
    int records = storeCallAnswer(store.data(), InCallCount, InCallSize, received, answer.get(), length);
    if (records != std::max(length - 4, 0) / InCallSize)
        fuzzFail("calls", "record count", std::size_t(records));
    std::size_t from = std::size_t(std::min(received, InCallCount)) * InCallSize;
    std::size_t kept = std::size_t(std::clamp(InCallCount - received, 0, records)) * InCallSize;
    if (kept && std::memcmp(store.data() + from, answer.get() + 4, kept) != 0)
        fuzzFail("calls", "stored record differs from the answer", from);
    for (std::size_t i = 0; i < store.size(); i++)
        if ((i < from || i >= from + kept) && store[i] != Fill)
            fuzzFail("calls", "store byte outside the answer's room changed", i);
    all = nullptr;
    return 0;
}
