// Writes the seed files of fuzz/corpus/ (run: fuzz_make_seeds fuzz/corpus).
//
// The answers are the simulator's own to the program's read commands, with
// their real checksums; the record they give (through the program's copies)
// is saved as a configuration file, a speed-dial file and a subscriber file
// the way the program writes them; the frames for the simulator are the
// program's read and write transmissions.
#include "config/cfgfile.h"
#include "config/listanswers.h"
#include "config/lists.h"
#include "config/record.h"
#include "link/answer.h"
#include "link/protocol.h"
#include "pbxsim/pbxsim.h"
#include "speeddial/kwzanswers.h"
#include "speeddial/kwzformat.h"
#include "subscriber/tndentries.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using Byte = unsigned char;
using Bytes = std::vector<unsigned char>;
std::string root;

void put(const std::string &target, const std::string &name, const Bytes &bytes)
{
    std::string dir = root + "/" + target;
    mkdir(dir.c_str(), 0755);
    std::string path = dir + "/" + name;
    FILE *fp = std::fopen(path.c_str(), "wb");
    if (!fp || std::fwrite(bytes.data(), 1, bytes.size(), fp) != bytes.size() || std::fclose(fp) != 0) {
        std::perror(path.c_str());
        std::exit(1);
    }
}

Bytes command(int code, int index)
{
    if (index > 255)
        return {6, Byte(code), 0, 0, Byte(index & 0xFF), Byte(index >> 8)};
    return {5, Byte(code), 0, 0, Byte(index)};
}

// A data frame as the program sends it: checksum, then ten zero bytes.
Bytes dataFrame(int code, int subcode, const unsigned char *data, int length)
{
    Bytes f = {0, Byte(code), 0, 0};
    if (subcode != NoSubCode)
        f.push_back(Byte(subcode));
    f.insert(f.end(), data, data + length);
    f[0] = Byte(f.size());
    unsigned short sum = MkChecksum(f.data() + 4, int(f.size()) - 4);
    f[2] = Byte(sum & 0xFF);
    f[3] = Byte(sum >> 8);
    f.insert(f.end(), PaddingBytes, 0);
    return f;
}

// The simulator's answer to one read command (inside a read transmission).
Bytes ask(pbxsim::Simulator &sim, int code, int index)
{
    sim.clearLogs();
    Bytes c = command(code, index);
    sim.receive(c.data(), c.size());
    return sim.sent();
}

Bytes answerSeed(int kind, int index, const Bytes &line)
{
    Bytes s = {Byte(kind), Byte(index & 0xFF), Byte((index >> 8) & 0xFF)};
    s.insert(s.end(), line.begin(), line.end());
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    root = argv[1];
    mkdir(root.c_str(), 0755);

    pbxsim::Simulator sim;
    Bytes begin = command(K_BEGIN_READ, 0);
    sim.receive(begin.data(), begin.size());

    std::vector<unsigned char> record(rec::RecordSize, 0);
    unsigned char *r = record.data();

    // answers: kinds 0-11 the configuration reads, 12 version, 13 subscriber
    // record, 14 speed-dial block, 15/16 prefix lists, 17 counters.
    for (int step = 0; step < ConfigListCount; step++) {
        Bytes a = ask(sim, configLists[step].readCode, configLists[step].readIndex);
        storeConfigAnswer(r, step, a.data(), int(a.size()));
        put("answers", "config" + std::to_string(step), answerSeed(step, 0, a));
    }
    put("answers", "version", answerSeed(12, 255, ask(sim, K_GET_EPROM_VER, 0)));
    for (int i = 0; i < rec::TlnCount; i++) {
        Bytes a = ask(sim, K_READ_TLN_DATA_LIST, i);
        storeTlnAnswer(r, i, a.data(), int(a.size()));
        if (i == 0 || i == 29)
            put("answers", "tln" + std::to_string(i), answerSeed(13, i, a));
    }
    for (int b = 0; b < rec::KwzCount; b += rec::KwzBlockSlots) {
        Bytes a = ask(sim, K_READ_KWZ_BLOCK, b);
        storeKwzBlock(r, b, a.data(), int(a.size()));
        if (b == 0 || b == 192)
            put("answers", "kwz" + std::to_string(b), answerSeed(14, b, a));
    }
    Bytes local = ask(sim, K_READ_NAH_BER_LIST, 0), blocked = ask(sim, K_READ_SPERR_BER_LIST, 0);
    storePrefixList(r, PrefixList::Local, local.data(), int(local.size()));
    storePrefixList(r, PrefixList::Blocked, blocked.data(), int(blocked.size()));
    put("answers", "local", answerSeed(15, 0, local));
    put("answers", "blocked", answerSeed(16, 0, blocked));
    put("answers", "counters", answerSeed(17, 0, ask(sim, K_READ_TLN_GEB_LIST, 0)));
    // Zero bytes ahead, and an acknowledgement followed by a data answer.
    Bytes zeros(12, 0), two = ask(sim, K_READ_TLN_BER_LIST, 0);
    zeros.insert(zeros.end(), two.begin(), two.end());
    put("answers", "zeros_ahead", answerSeed(7, 0, zeros));
    Bytes ack = {4, ANS_OK, 0, 0};
    ack.insert(ack.end(), two.begin(), two.end());
    put("answers", "ack_then_data", answerSeed(7, 0, ack));

    // cfgfile: what the program saves, both identifications, and a short one.
    for (const char *id : {CfgIdDorvan, CfgIdOstrale}) {
        Bytes f(CfgIdSize, 0);
        std::memcpy(f.data(), id, std::strlen(id));
        f.insert(f.end(), r, r + rec::PbxImageSize);
        put("cfgfile", id == CfgIdDorvan ? "dorvan.cfg" : "ostrale.cfg", f);
        if (id == CfgIdDorvan)
            put("cfgfile", "short.cfg", Bytes(f.begin(), f.begin() + 100));
    }

    // kwzfile: the directory read, with a few names, as the program saves it.
    std::memcpy(r + rec::KwzHeader, KwzMark, std::strlen(KwzMark) + 1);
    for (int i = 0; i < 5; i++) {
        std::string name = "Teilnehmer " + std::to_string(i + 1);
        std::memcpy(r + rec::KwzNames + rec::KwzNameSize * std::size_t(i), name.c_str(), name.size() + 1);
    }
    Bytes kwz(r + rec::KwzHeader, r + rec::NahBerList);
    kwz.insert(kwz.end(), r + rec::NahBerList, r + rec::NahBerList + 2 * rec::PrefixListSize);
    put("kwzfile", "standard.kwz", kwz);
    put("kwzfile", "short.kwz", Bytes(kwz.begin(), kwz.begin() + 300));
    put("kwznames", "standard.kwz", kwz);
    put("kwznames", "names_cut.kwz", Bytes(kwz.begin(), kwz.begin() + long(KwzNameFileOffset) + 100));

    // tndfile: through the program's own writer.
    char *text = nullptr;
    std::size_t length = 0;
    FILE *mem = open_memstream(&text, &length);
    if (!mem || !writeTndStream(mem, r) || std::fclose(mem) != 0)
        return 1;
    Bytes tnd(text, text + length);
    std::free(text);
    put("tndfile", "standard.tnd", tnd);
    put("tndfile", "short.tnd", Bytes(tnd.begin(), tnd.begin() + 80));

    // pbxsim_frames: a read and a write transmission, whole and in small pieces.
    Bytes read = begin;
    for (int step = 0; step < ConfigListCount; step++) {
        Bytes c = command(configLists[step].readCode, configLists[step].readIndex);
        read.insert(read.end(), c.begin(), c.end());
    }
    for (Bytes c : {command(K_GET_EPROM_VER, 0), command(K_READ_KWZ_BLOCK, 192), command(K_READ_OUT_GEB_LIST, 300),
                    command(K_READ_IN_GEB_LIST, 0), command(K_END, 0)})
        read.insert(read.end(), c.begin(), c.end());
    Bytes write = command(K_BEGIN_WRITE, 0);
    auto add = [&write](const Bytes &f) { write.insert(write.end(), f.begin(), f.end()); };
    add(dataFrame(K_WRITE_SO_PORT, 0, r + rec::PortBlock0, int(rec::PortBlockSent)));
    add(dataFrame(K_WRITE_ANL_DAT_LIST, NoSubCode, r + rec::AnlDatList, int(rec::AnlDatListSize)));
    add(dataFrame(K_WRITE_TLN_DATA_LIST, 3, r + rec::TlnData + 3 * rec::TlnDataSize + 1, int(rec::TlnSentSize)));
    add(dataFrame(K_WRITE_KWZ_BLOCK, 8, r + rec::KwzNumbers + 8 * rec::KwzNumberSize, 200));
    add(dataFrame(K_WRITE_NAH_BER_LIST, NoSubCode, r + rec::NahBerList, int(rec::PrefixListSize)));
    static const unsigned char zero124[124] = {};
    add(dataFrame(K_CLEAR_TLN_GEB_LIST, NoSubCode, zero124, 124));
    add(command(K_END, 0));
    for (int piece : {63, 0}) {
        Bytes s = {Byte(piece)};
        Bytes rs = s, ws = s;
        rs.insert(rs.end(), read.begin(), read.end());
        ws.insert(ws.end(), write.begin(), write.end());
        put("pbxsim_frames", "read" + std::to_string(piece + 1), rs);
        put("pbxsim_frames", "write" + std::to_string(piece + 1), ws);
    }
    return 0;
}
