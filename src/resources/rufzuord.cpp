#include "resources/resources.h"

extern const char res_rufzuord[] = R"RES(
)RES";
