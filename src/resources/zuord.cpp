#include "resources/resources.h"

extern const char res_zuord[] = R"RES(
)RES";
