#include "resources/resources.h"

extern const char res_messages[] = R"RES(
)RES";
