// The program's names with a newer version than the build's, linked in place
// of common/version.cpp's into a test build of the same sources: a copy that
// meets this build as a user's next release would.
#include "common/program.h"

const char appNameVersion[] = "Tikavo_T " TIKAVO_NEWER_VERSION;
const wchar_t appNameVersionW[] = L"Tikavo_T " TIKAVO_NEWER_VERSION;
