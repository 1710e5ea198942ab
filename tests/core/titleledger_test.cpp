// The title ledger: every window gets exactly its own title back, whatever it
// and its owner do meanwhile (model desktops: tests/support/titleworld.h).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "support/memorylist.h"
#include "support/titleworld.h"

using testsupport::Readable;

namespace {

// The clock text of Monday 7 December 2026, 10:<minute>:<second>, by the program's writer.
std::string Clock(int second = 0, bool seconds = true, int minute = 0)
{
    char clock[64];
    FormatClock(clock, sizeof clock, "Pond\xEC" "l\xED", 7, 12, 2026, 10, minute, second, seconds);
    return clock;
}

// Windows that show what they are given while their owners answer; one not on it is gone.
struct Desk {
    std::map<WindowId, std::u16string> titles;
    bool answering = true;
    int writes = 0;
    const TitleAccess access{
        [](void* d, WindowId w, std::u16string& t) { auto& m = static_cast<Desk*>(d)->titles; return m.count(w) && (t = m[w], true); },
        [](void* d, WindowId w, const char16_t* text) {
            auto& desk = *static_cast<Desk*>(d);
            ++desk.writes;
            return !desk.titles.count(w) ? WriteAnswer::Gone
                 : desk.answering ? (desk.titles[w] = text, WriteAnswer::Answered) : WriteAnswer::Pending;
        },
        [](void* d, WindowId, bool) { return static_cast<Desk*>(d)->answering; }, this };
};

TEST(TitleLedger, RandomDesktopsKeepEveryTitleExact)
{
    // TIKAVO_LEDGER_SEED=<n> runs other desktops; TIKAVO_LEDGER_TRACE=1 prints
    // the events of each. Then the desktops that found a fault (the fuzzer's seeds).
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
        ASSERT_TRUE(ok && world.Finish()) << "seed " << seed << ": " << world.failure();
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
    TitleLedger ledger;
    for (WindowId w = 1; w < 40; ++w) {
        desk.titles[w] = u"Dokument";
        FollowFront(ledger, desk.access, w);
        desk.answering = true;   // it takes its decoration, then its owner stops answering
        DecorateFront(ledger, desk.access, { Clock().c_str(), "", nullptr, u"", false });
        desk.answering = false;
        EXPECT_LE(ledger.entries.size(), maxWindows);
    }
    EXPECT_EQ(desk.titles[39], u"Dokument") << "decorated with the ledger full";
    desk.answering = true;
    GiveAllTitlesBack(ledger, desk.access);
    for (const auto& [window, title] : desk.titles)
        EXPECT_TRUE(title == u"Dokument") << Readable(title);
}

// Decorated windows that close, in front (between a tick's two steps) or right
// after it: each is let go, and a window in front is decorated after dozens.
TEST(TitleLedger, WindowsThatCloseAreLetGo)
{
    Desk desk;
    TitleLedger ledger;
    for (WindowId w = 1; w <= 3 * maxWindows; ++w) {
        desk.titles[w] = u"Dokument";
        FollowFront(ledger, desk.access, w);
        if (w % 2)
            desk.titles.erase(w);   // closed in front
        DecorateFront(ledger, desk.access, { Clock().c_str(), "", nullptr, u"", false });
        EXPECT_TRUE(w % 2 || desk.titles[w] != u"Dokument") << "window " << w << " is not decorated";
        desk.titles.erase(w);   // closed right after
    }
}

// Without seconds, the window in front is written when the text composed or
// the title it shows changes, not at every tick; it is read at every tick.
TEST(TitleLedger, WithoutSecondsTheTitleIsWrittenOnlyWhenItChanges)
{
    Desk desk{ { { 1, u"Dokument" } } };
    TitleLedger ledger;
    for (int second = 0; second < 90; ++second) {
        if (second == 30)
            desk.titles[1] = u"Dokument";   // its owner sets its title anew
        FollowFront(ledger, desk.access, 1);
        DecorateFront(ledger, desk.access, { Clock(second % 60, false, second / 60).c_str(), "", nullptr, u"", false });
    }
    EXPECT_EQ(desk.writes, 3) << "written at 10:00, after its owner set its title, at 10:01";
    EXPECT_EQ(desk.titles[1].rfind(u"Dokument  * ", 0), 0u);
}

// With the clock in front, window 1's owner trims the mark off its title's end:
// a new title, not a cut. Window 2 cuts titles to 60 characters: it keeps its own.
TEST(TitleLedger, AnOwnerThatTrimsTheEndOfItsTitleRenamedIt)
{
    std::u16string titles[3] = { u"", u"Dopis.odt - Writer*", u"Rozpočet na rok 2027 - přehled výdajů" };
    const TitleAccess access{
        [](void* d, WindowId w, std::u16string& t) { return t = static_cast<std::u16string*>(d)[w], true; },
        [](void* d, WindowId w, const char16_t* text) {
            static_cast<std::u16string*>(d)[w] = std::u16string(text).substr(0, w == 2 ? 60 : std::u16string::npos);
            return WriteAnswer::Answered;
        },
        [](void*, WindowId, bool) { return true; }, titles };
    const std::string clock = Clock();
    const TitleParts parts{ clock.c_str(), "", nullptr, u"", true };
    TitleLedger ledger;
    for (WindowId w : { 2, 1, 1 }) {
        FollowFront(ledger, access, w);
        DecorateFront(ledger, access, parts);
    }
    titles[1].pop_back();
    DecorateFront(ledger, access, parts);
    EXPECT_TRUE(titles[1] == u"  * Pondělí - 7.12.2026 - 10:00:00 *  * Dopis.odt - Writer") << Readable(titles[1]);
    GiveAllTitlesBack(ledger, access);
    EXPECT_TRUE(titles[1] == u"Dopis.odt - Writer") << Readable(titles[1]);
    EXPECT_TRUE(titles[2] == u"Rozpočet na rok 2027 - přehled výdajů") << Readable(titles[2]);
}

// Windows that add to every text: window 1 " - Editor" behind it, window 2 a
// running count in front; a write may be slow (taken, completed after the
// time-out). A title that fits decorated, but not with what its window adds,
// is never left so (also after a late write, nor at the exit); a count is not
// learned: the window keeps its own title in front, gets it back in one write.
TEST(TitleLedger, WindowsThatAddToEveryTextNeitherStayDecoratedNorGrow)
{
    struct Desktop {
        std::u16string titles[3];
        int counted = 0;   // window 2's texts: its first title, then one a write
        bool slow = false;
        std::u16string Shown(WindowId w, const std::u16string& text)
        {
            return w == 1 ? text + u" - Editor" : testsupport::ShownBy(testsupport::Alters::Counts, text, ++counted);
        }
    } desk;
    const TitleAccess access{
        [](void* d, WindowId w, std::u16string& t) { return (t = static_cast<Desktop*>(d)->titles[w]).size() <= maxTitleLength; },
        [](void* d, WindowId w, const char16_t* text) {
            auto* desk = static_cast<Desktop*>(d);
            desk->titles[w] = desk->Shown(w, text);
            return desk->slow ? WriteAnswer::Pending : WriteAnswer::Answered;
        },
        [](void*, WindowId, bool) { return true; }, &desk };
    std::string clock = Clock();   // a second later every tick
    std::u16string decoration;
    ComposeTitle(decoration, u"", { clock.c_str(), "", nullptr, u"", false });
    const std::u16string own = desk.Shown(1, std::u16string(maxTitleLength - decoration.size() - 12, u'x'));
    desk.titles[1] = own;
    desk.titles[2] = desk.Shown(2, u"Dokument");
    TitleLedger ledger;
    for (int tick = 0; tick < 13; ++tick) {
        desk.slow = tick == 0;
        FollowFront(ledger, access, tick < 3 ? 1 : 2);
        clock = Clock(tick);
        DecorateFront(ledger, access, { clock.c_str(), "", nullptr, u"", false });
        EXPECT_LE(desk.titles[1].size(), maxTitleLength + (tick == 0 ? 9 : 0)) << "too long to read at tick " << tick;
    }
    EXPECT_TRUE(desk.titles[1] == own) << desk.titles[1].size() << " characters";
    EXPECT_EQ(desk.titles[2].rfind(u"(11) (1) Dokument  * Pond", 0), 0u) << Readable(desk.titles[2]);
    const int counted = desk.counted;
    GiveAllTitlesBack(ledger, access);
    EXPECT_EQ(desk.counted, counted + 1);
    EXPECT_TRUE(desk.titles[2] == u"(12) (1) Dokument") << Readable(desk.titles[2]);
}

}  // namespace
