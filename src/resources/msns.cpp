#include "resources/resources.h"

extern const char res_msns[] = R"RES(
)RES";
