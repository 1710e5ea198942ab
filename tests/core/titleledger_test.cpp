// The title ledger: every window gets exactly its own title back, whatever it
// and its owner do meanwhile (model desktops: tests/support/titleworld.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

#include "support/memorylist.h"
#include "support/titleworld.h"

namespace {

// The clock text of Monday 7 December 2026, 10:<minute>:<second>, by the program's writer.
std::string Clock(int second = 0, bool seconds = true, int minute = 0)
{
    char clock[64];
    FormatClock(clock, sizeof clock, "Pond\xEC" "l\xED", 7, 12, 2026, 10, minute, second, seconds);
    return clock;
}

// Windows that show a text written as shows() makes it while their owners answer (slow:
// it completes after the time-out); one not on the desk is gone, one too long unreadable.
struct Desk {
    std::map<WindowId, std::u16string> titles;
    std::function<std::u16string(WindowId, std::u16string)> shows = [](WindowId, std::u16string text) { return text; };
    bool answering = true, slow = false;
    int writes = 0;
    TitleLedger ledger;
    const TitleAccess access{
        [](void* d, WindowId w, std::u16string& t) {
            auto& titles = static_cast<Desk*>(d)->titles;
            return titles.count(w) && (t = titles[w]).size() <= maxTitleLength;
        },
        [](void* d, WindowId w, const char16_t* text) {
            auto& desk = *static_cast<Desk*>(d);
            ++desk.writes;
            if (!desk.titles.count(w) || !desk.answering)
                return desk.titles.count(w) ? WriteAnswer::Pending : WriteAnswer::Gone;
            desk.titles[w] = desk.shows(w, text);
            return desk.slow ? WriteAnswer::Pending : WriteAnswer::Answered;
        },
        [](void* d, WindowId, bool) { return static_cast<Desk*>(d)->answering; }, this };
    // A tick with window front in front and the clock given, with no name or countdown.
    void Tick(WindowId front, const std::string& clock = Clock(), bool before = false)
    {
        FollowFront(ledger, access, front);
        DecorateFront(ledger, access, { clock.c_str(), "", nullptr, u"", before });
    }
};

TEST(TitleLedger, RandomDesktopsKeepEveryTitleExact)
{
    // TIKAVO_LEDGER_SEED=<n> runs other desktops; TIKAVO_LEDGER_TRACE=1 prints
    // the events of each. Then the desktops that found a fault (the fuzzer's seeds).
    const char* given = std::getenv("TIKAVO_LEDGER_SEED");
    const unsigned first = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261208u;
    size_t ticks = 0;
    for (unsigned seed = first; seed < first + 500; ++seed) {
        std::mt19937 random(seed);
        testsupport::TitleWorld world([&](unsigned n) { return static_cast<unsigned>(random() % n); },
                                      std::getenv("TIKAVO_LEDGER_TRACE") != nullptr);
        for (int event = 0; event < 400 && world.Step(); ++event) {}
        ASSERT_TRUE(world.failure().empty() && world.Finish()) << "seed " << seed << ": " << world.failure();
        ticks += world.ticks();
    }
    EXPECT_GT(ticks, 70000u);
    for (const auto& file : std::filesystem::directory_iterator(std::filesystem::u8path(TIKAVO_SOURCE_DIR "/tests/fuzz/ledger-corpus"))) {
        std::string bytes = testsupport::ReadWholeFile(file.path().u8string());
        EXPECT_EQ(testsupport::ReplayDesktop(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()), "")
            << file.path().filename().u8string();
    }
}

// Windows whose owners do not answer, each in front for a tick: the ledger
// keeps no more of them than its bound and writes nothing into the others;
// once the owners answer, every window it wrote into has its title back.
TEST(TitleLedger, WindowsWhoseOwnersDoNotAnswerAreKeptWithinTheBoundAndNoneIsDropped)
{
    Desk desk;
    for (WindowId w = 1; w < 40; ++w) {
        desk.titles[w] = u"Dokument";
        FollowFront(desk.ledger, desk.access, w);
        desk.answering = true;   // it takes its decoration, then its owner stops answering
        DecorateFront(desk.ledger, desk.access, { Clock().c_str(), "", nullptr, u"", false });
        desk.answering = false;
        EXPECT_LE(desk.ledger.entries.size(), maxWindows);
    }
    EXPECT_EQ(desk.titles[39], u"Dokument") << "decorated with the ledger full";
    desk.answering = true;
    GiveAllTitlesBack(desk.ledger, desk.access);
    for (const auto& [window, title] : desk.titles)
        EXPECT_EQ(title, u"Dokument");
}

// Decorated windows that close, in front (the next tick finds them gone) or
// once they left it: each is let go, and a window in front is decorated after dozens.
TEST(TitleLedger, WindowsThatCloseAreLetGo)
{
    Desk desk;
    for (WindowId w = 1; w <= 3 * maxWindows; ++w) {
        desk.titles[w] = u"Dokument";
        desk.Tick(w);
        EXPECT_NE(desk.titles[w], u"Dokument") << "window " << w << " is not decorated";
        desk.titles.erase(w);
        desk.Tick(w % 2 ? w : 0);
    }
}

// Without seconds, the window in front is written when the text composed or
// the title it shows changes, not at every tick; it is read at every tick.
TEST(TitleLedger, WithoutSecondsTheTitleIsWrittenOnlyWhenItChanges)
{
    Desk desk{ { { 1, u"Dokument" } } };
    std::u16string kept;
    for (int second = 0; second < 90; ++second) {
        kept = second == 10 ? desk.titles[1] : kept;   // its owner keeps its title, the clock behind it,
        if (second == 30)
            desk.titles[1] = kept;   // and puts it back once the clock is in front: the text written before
        desk.Tick(1, Clock(second % 60, false, second / 60), second >= 20);
    }
    EXPECT_EQ(desk.writes, 4) << "written at 10:00, in front, after its owner put its title back, at 10:01";
    EXPECT_EQ(desk.titles[1].substr(desk.titles[1].size() - 11), u" * Dokument");
}

// With the clock in front, window 1's owner trims the mark off its title's end:
// a new title, not a cut. Window 2 cuts titles to 60 characters: it keeps its own.
TEST(TitleLedger, AnOwnerThatTrimsTheEndOfItsTitleRenamedIt)
{
    Desk desk{ { { 1, u"Dopis.odt - Writer*" }, { 2, u"Rozpočet na rok 2027 - přehled výdajů" } } };
    desk.shows = [](WindowId w, std::u16string text) { return text.substr(0, w == 2 ? 60 : text.size()); };
    for (WindowId w : { 2, 1, 1 })
        desk.Tick(w, Clock(), true);
    desk.titles[1].pop_back();
    desk.Tick(1, Clock(), true);
    EXPECT_EQ(desk.titles[1], u"  * Pondělí - 7.12.2026 - 10:00:00 *  * Dopis.odt - Writer");
    GiveAllTitlesBack(desk.ledger, desk.access);
    EXPECT_EQ(desk.titles[1], u"Dopis.odt - Writer");
    EXPECT_EQ(desk.titles[2], u"Rozpočet na rok 2027 - přehled výdajů");
}

// Windows that add to every text: window 1 " - Editor" behind it, window 2 a
// running count in front; a write may be slow (taken, completed after the
// time-out). A title that fits decorated, but not with what its window adds,
// is never left so (also after a late write, nor at the exit); a count is not
// learned: the window keeps its own title in front, gets it back in one write.
TEST(TitleLedger, WindowsThatAddToEveryTextNeitherStayDecoratedNorGrow)
{
    int counted = 0;   // window 2's texts: its first title, then one a write
    Desk desk;
    desk.shows = [&counted](WindowId w, std::u16string text) {
        return w == 1 ? text + u" - Editor" : testsupport::ShownBy(testsupport::Alters::Counts, text, ++counted);
    };
    std::u16string decoration;
    ComposeTitle(decoration, u"", { Clock().c_str(), "", nullptr, u"", false });
    const std::u16string own = desk.shows(1, std::u16string(maxTitleLength - decoration.size() - 12, u'x'));
    desk.titles = { { 1, own }, { 2, desk.shows(2, u"Dokument") } };
    for (int tick = 0; tick < 13; ++tick) {
        desk.slow = tick == 0;
        desk.Tick(tick < 3 ? 1 : 2, Clock(tick));   // a second later every tick
        EXPECT_LE(desk.titles[1].size(), maxTitleLength + (tick == 0 ? 9 : 0)) << "too long to read at tick " << tick;
    }
    EXPECT_TRUE(desk.titles[1] == own) << desk.titles[1].size() << " characters";
    EXPECT_EQ(desk.titles[2].substr(0, 25), u"(11) (1) Dokument  * Pond");
    GiveAllTitlesBack(desk.ledger, desk.access);
    EXPECT_EQ(desk.titles[2], u"(12) (1) Dokument") << "given back in one write";
}

}  // namespace
