// The configuration file loader on arbitrary file contents: the identification
// check, then the PBX image into the record.  Checked: the outcome follows the
// identification, a loaded file lands in record bytes 0-2097 as far as it
// reaches, and nothing else of the record changes.
#include "config/cfgfile.h"
#include "config/cfgread.h"
#include "config/record.h"
#include "fuzzfile.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    constexpr unsigned char Fill = 0x5A;
    std::unique_ptr<unsigned char[]> record(new unsigned char[rec::RecordSize]);
    std::memset(record.get(), Fill, rec::RecordSize);
    FILE *fp = openBytes(data, size);
    FileLoad result = readCfgStream(fp, record.get());
    std::fclose(fp);

    static const char mark[] = "Daten Konfigurator";
    bool marked = size >= 18 && std::memcmp(data, mark, 18) == 0;
    if ((result == FileLoad::Loaded) != marked)
        fuzzFail("cfgfile", marked ? "marked file refused" : "unmarked file loaded", 0);
    std::size_t image = marked && size > CfgIdSize ? std::min(size - CfgIdSize, rec::PbxImageSize) : 0;
    static const std::vector<unsigned char> filled(rec::RecordSize, Fill);
    if (image > 0 && std::memcmp(record.get(), data + CfgIdSize, image) != 0)
        fuzzFail("cfgfile", "image byte wrong", 0);
    if (std::memcmp(record.get() + image, filled.data(), rec::RecordSize - image) != 0)
        fuzzFail("cfgfile", "record byte beyond the image changed", image);
    return 0;
}
