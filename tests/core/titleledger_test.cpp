// The title ledger against model desktops: every window gets exactly its own
// title back, whatever the windows do to the texts they are given and
// whatever their owners do meanwhile (see tests/support/titleworld.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "tests/support/titleworld.h"

namespace {

TEST(TitleLedger, RandomDesktopsKeepEveryTitleExact)
{
    // TIKAVO_LEDGER_SEED=<n> runs other desktops; TIKAVO_LEDGER_TRACE=1
    // prints the events of each.
    const char* given = std::getenv("TIKAVO_LEDGER_SEED");
    const unsigned first = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261208u;
    const bool trace = std::getenv("TIKAVO_LEDGER_TRACE") != nullptr;
    size_t ticks = 0;
    for (unsigned seed = first; seed < first + 500; ++seed) {
        std::mt19937 random(seed);
        testsupport::TitleWorld world([&](unsigned n) { return static_cast<unsigned>(random() % n); }, trace);
        bool ok = true;
        for (int event = 0; event < 400 && ok; ++event)
            ok = world.Step();
        ok = ok && world.Finish();
        ASSERT_TRUE(ok) << "seed " << seed << ": " << world.failure();
        ticks += world.ticks();
    }
    EXPECT_GT(ticks, 70000u);
}

}  // namespace
