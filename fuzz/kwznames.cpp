// The name merge's reading of a speed-dial file on arbitrary file contents:
// only the names, only from a file with the speed-dial mark.  Checked: the
// outcome follows the mark, the names land in the name slots as far as the
// file reaches, and nothing else of the record changes.  A memory stream
// cannot be positioned past its end, so a file shorter than the names' offset
// may come back unplaced (a real file reads no names there); both leave the
// record as it was.
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
    constexpr unsigned char Fill = 0x5A;
    static const std::vector<unsigned char> filled(rec::RecordSize, Fill);
    std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]);
    std::memcpy(record.get(), filled.data(), rec::RecordSize);
    FILE *fp = openBytes(data, size);
    FileLoad result = readKwzNames(fp, record.get());
    std::fclose(fp);

    bool marked = size >= 7 && std::memcmp(data, "KwDaten", 7) == 0;
    bool beyond = size < KwzNameFileOffset;
    if (!marked && result != FileLoad::WrongFile)
        fuzzFail("kwznames", "unmarked file taken", 0);
    if (marked && result != FileLoad::Loaded && !(beyond && result == FileLoad::Unplaced))
        fuzzFail("kwznames", "marked file refused", 0);
    std::vector<unsigned char> want = filled;
    if (result == FileLoad::Loaded && !beyond)
        std::memcpy(want.data() + rec::KwzNames, data + KwzNameFileOffset,
                    std::min(size - KwzNameFileOffset, rec::KwzCount * rec::KwzNameSize));
    if (std::memcmp(record.get(), want.data(), rec::RecordSize) != 0)
        fuzzFail("kwznames", "record differs from the file's names", 0);
    return 0;
}
