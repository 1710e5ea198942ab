// Arbitrary bytes as a sequence of events on a model desktop (see
// tests/support/titleworld.h): every byte picks the next event or one of its
// details; the desktop checks its rules after each event and at the exit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/titleworld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string failure = testsupport::ReplayDesktop(data, size, std::getenv("TIKAVO_LEDGER_TRACE") != nullptr);
    if (!failure.empty())
        std::fprintf(stderr, "title ledger fuzz: %s\n", failure.c_str()), std::abort();
    return 0;
}
