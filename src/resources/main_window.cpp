#include "resources/resources.h"

extern const char res_main[] = R"RES(
)RES";
