// LDIF into the speed-dial directory (checks: addressbook.h).
#include "addressbook.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    fuzzphonebook::checkImport("phonebook_ldif", phonebook::importLdif, data, size);
    return 0;
}
