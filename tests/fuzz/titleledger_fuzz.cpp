// Arbitrary bytes as a sequence of events on a model desktop (see
// tests/support/titleworld.h): every byte picks the next event or one of its
// details; the desktop checks its rules after each event and at the exit.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "support/titleworld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t at = 0;
    testsupport::TitleWorld world([&](unsigned n) { return at < size ? data[at++] % n : 0u; },
                                  std::getenv("TIKAVO_LEDGER_TRACE") != nullptr);
    bool ok = true;
    while (ok && at < size)
        ok = world.Step();
    ok = ok && world.Finish();
    if (!ok) {
        std::fprintf(stderr, "title ledger fuzz: %s\n", world.failure().c_str());
        std::abort();
    }
    return 0;
}
