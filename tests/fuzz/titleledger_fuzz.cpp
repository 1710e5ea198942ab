// Arbitrary bytes as a sequence of events on a model desktop: windows that
// alter their titles, owners that rename them, stop answering and answer
// late or never, switches, ticks inside title writes and the exit command.
// Every byte picks the next event or one of its details; the desktop checks
// after each event that no title shows two clock texts and that every
// settled window shows exactly its own title, and after the exit that all do.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tests/support/titleworld.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    size_t at = 0;
    testsupport::TitleWorld world([&](unsigned n) { return at < size ? data[at++] % n : 0u; });
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
