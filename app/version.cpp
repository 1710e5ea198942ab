#include "app/version.h"

namespace {
// The number at p (its digits; 0 for none, capped far above any version's),
// and p past it and its dot.
unsigned long Field(const char*& p)
{
    unsigned long n = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        n = n < 100000000 ? n * 10 + static_cast<unsigned long>(*p - '0') : n;
    while (*p && *p++ != '.') {}
    return n;
}
}  // namespace

int CompareVersions(const char* a, const char* b)
{
    while (*a || *b) {
        unsigned long x = Field(a), y = Field(b);
        if (x != y)
            return x < y ? -1 : 1;
    }
    return 0;
}
