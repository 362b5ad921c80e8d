#include "resources/resources.h"

extern const char res_common[] = R"RES(
)RES";
