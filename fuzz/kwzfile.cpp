// The speed-dial file loader on arbitrary file contents: the mark check, the
// directory into the record, the numbers normalised.  Checked against a
// reading of the file written out here: the outcome follows the mark, the
// record from the speed-dial header on holds the file (numbers cleared after
// their first zero byte up to byte 24), and nothing else changes.
#include "config/record.h"
#include "fuzzfile.h"
#include "speeddial/kwzformat.h"
#include "speeddial/kwzread.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A record without zero bytes, and one with a zero every fifth byte, so
    // that normalising shows on numbers a short file does not reach.
    for (int pattern = 0; pattern < 2; pattern++) {
        static const std::vector<unsigned char> start[2] = {
            std::vector<unsigned char>(rec::RecordSize, 0x5A), [] {
                std::vector<unsigned char> v(rec::RecordSize);
                for (std::size_t i = 0; i < v.size(); i++)
                    v[i] = static_cast<unsigned char>(i % 5);
                return v;
            }()};
        std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]);
        std::unique_ptr<unsigned char[]> want(new unsigned char[rec::RecordSize]);
        std::memcpy(record.get(), start[pattern].data(), rec::RecordSize);
        std::memcpy(want.get(), start[pattern].data(), rec::RecordSize);
        FILE *fp = openBytes(data, size);
        FileLoad result = readKwzStream(fp, record.get());
        std::fclose(fp);

        bool marked = size >= 7 && std::memcmp(data, "KwDaten", 7) == 0;
        if ((result == FileLoad::Loaded) != marked)
            fuzzFail("kwzfile", marked ? "marked file refused" : "unmarked file loaded", 0);
        if (marked) {
            std::memcpy(want.get() + rec::KwzHeader, data, std::min(size, std::size_t(rec::KwzSizeInFile)));
            for (int s = 0; s < rec::KwzCount; s++) {
                unsigned char *slot = want.get() + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(s);
                bool ended = false;
                for (int k = 0; k < KwzNumberMax; k++) {
                    ended = ended || slot[k] == 0;
                    if (ended)
                        slot[k] = 0;
                }
            }
        }
        if (std::memcmp(record.get(), want.get(), rec::RecordSize) != 0) {
            std::size_t i = 0;
            while (record[i] == want[i])
                i++;
            fuzzFail("kwzfile", "record byte differs from the file's", i);
        }
    }
    return 0;
}
