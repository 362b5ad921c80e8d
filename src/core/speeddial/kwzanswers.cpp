#include "speeddial/kwzanswers.h"

#include "config/record.h"

#include <algorithm>
#include <cstring>

namespace {

// Copies the answer's data, at most room bytes: the data length.
int copyData(unsigned char *target, const unsigned char *answer, int length, std::size_t room)
{
    int data = std::max(length - 4, 0);
    std::size_t count = std::min(std::size_t(data), room);
    if (count > 0)
        std::memcpy(target, answer + 4, count);
    return data;
}

} // namespace

int storeKwzBlock(unsigned char *record, int first, const unsigned char *answer, int length)
{
    if (first < 0 || first >= rec::KwzCount)
        return -1;
    int slots = std::min(rec::KwzBlockSlots, rec::KwzCount - first);
    return copyData(record + rec::KwzNumbers + rec::KwzNumberSize * std::size_t(first), answer, length,
                    rec::KwzNumberSize * std::size_t(slots));
}

int storePrefixList(unsigned char *record, PrefixList list, const unsigned char *answer, int length)
{
    std::size_t offset = list == PrefixList::Local ? rec::NahBerList : rec::SperrBerList;
    return copyData(record + offset, answer, length, rec::PrefixListSize);
}
