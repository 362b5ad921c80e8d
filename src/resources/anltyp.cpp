#include "resources/resources.h"

extern const char res_anltyp[] = R"RES(
)RES";
