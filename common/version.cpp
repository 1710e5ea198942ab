// The program's name with the build's version, TIKAVO_VERSION (the CMake
// project's).
#include "common/program.h"

const char appNameVersion[] = "Tikavo_T " TIKAVO_VERSION;
const wchar_t appNameVersionW[] = L"Tikavo_T " TIKAVO_VERSION;
