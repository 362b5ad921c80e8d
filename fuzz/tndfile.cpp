// The subscriber data file loader on arbitrary file contents.  Checked against
// a reading of the file written out here: fields in file order fill their
// places in the 30 records (a field cut short keeps its bytes beyond the cut),
// the count of whole entries is right, and nothing else of the record changes.
#include "config/record.h"
#include "fuzzfile.h"
#include "subscriber/tndentries.h"

#include <algorithm>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr unsigned char Fill = 0x5A;
    std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]);
    std::unique_ptr<unsigned char[]> want(new unsigned char[rec::RecordSize]);
    std::memset(record.get(), Fill, rec::RecordSize);
    std::memset(want.get(), Fill, rec::RecordSize);
    FILE *fp = openBytes(data, size);
    int entries = readTndStream(fp, record.get());
    std::fclose(fp);

    // Functions (2), wake-up (2), busy target (25), target (25), ring time (1).
    const std::size_t places[][2] = {{6, 2}, {8, 2}, {22, 25}, {72, 25}, {122, 1}};
    std::size_t at = 0;
    int whole = 0;
    for (int i = 0; i < rec::TlnCount && at < size; i++) {
        bool complete = true;
        for (const auto &p : places) {
            std::size_t n = std::min(p[1], size - at);
            std::memcpy(want.get() + rec::TlnData + rec::TlnDataSize * std::size_t(i) + p[0], data + at, n);
            at += n;
            if (n < p[1]) {
                complete = false;
                break;
            }
        }
        if (!complete)
            break;
        whole++;
    }
    if (entries != whole)
        fuzzFail("tndfile", "count of whole entries", std::size_t(entries));
    if (std::memcmp(record.get(), want.get(), rec::RecordSize) != 0) {
        std::size_t i = 0;
        while (record[i] == want[i])
            i++;
        fuzzFail("tndfile", "record byte differs from the file's", i);
    }
    return 0;
}
