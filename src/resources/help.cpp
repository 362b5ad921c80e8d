#include "resources/resources.h"

extern const char res_help[] = R"RES(
)RES";
