// The title ledger: how a window's own title is told apart from the clock's
// decoration in whatever form the window shows it, and that every window
// gets exactly its own title back, against a model desktop.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "tests/support/titleworld.h"
#include "titleclock/titleledger.h"
#include "titleclock/titletext.h"

using testsupport::Alters;
using testsupport::ShownBy;
using testsupport::TitleWorld;

namespace {

const char mikulas[] = "Mikul\xE1\x9A";   // Mikuláš

std::string Clock(int second)
{
    char clock[64];
    std::snprintf(clock, sizeof clock, "  * Ned\xEC" "le - 6.12.2026 - 22:48:%02d * ", second);
    return clock;
}

std::u16string WideClock(int second)
{
    return WidenCp1250(Clock(second).c_str());
}

// Window 1 in front with its own title, decorated at 22:48:<second>; the
// write answered or not. Returns what the window shows (or will show once
// it answers) as alters makes it.
std::u16string Decorate(TitleLedger& ledger, const std::u16string& own, int second,
                        WriteAnswer answer = WriteAnswer::Answered, Alters alters = Alters::Nothing,
                        bool before = false)
{
    char16_t out[titleCapacity];
    TitleLayout layout;
    ComposeTitle(out, titleCapacity, own, Clock(second).c_str(), mikulas, false, before, "", u"", &layout);
    std::u16string shown = ShownBy(alters, out);
    ledger.Decorated(1, out, layout, answer, answer == WriteAnswer::Answered ? shown : u"");
    return shown;
}

TitleLedger InFront(const std::u16string& shows)
{
    TitleLedger ledger;
    ledger.Front(1);
    ledger.Observe(1, shows);
    return ledger;
}

TEST(TitleLedger, TheOwnTitleIsWhatTheWindowShowsWithoutTheDecoration)
{
    TitleLedger ledger = InFront(u"Dokument");
    std::u16string decorated = Decorate(ledger, u"Dokument", 35);
    EXPECT_EQ(decorated, u"Dokument" + WideClock(35) + u"Mikuláš *");
    // The window still shows what the last tick wrote.
    EXPECT_EQ(ledger.Observe(1, decorated), u"Dokument");
    // Its owner opened another document: taken whole.
    EXPECT_EQ(ledger.Observe(1, u"Dopis"), u"Dopis");

    // Its owner changed the title around the decoration: the whole
    // decoration is cut out, the clock text with the name behind it, also
    // where it stands twice.
    ledger = InFront(u"Dokument");
    Decorate(ledger, u"Dokument", 35);
    EXPECT_EQ(OwnTitleOf(*ledger.Find(1), u"* Dopis" + WideClock(35) + u"Mikuláš *"), u"* Dopis");
    EXPECT_EQ(OwnTitleOf(*ledger.Find(1), WideClock(35) + u"A" + WideClock(35)), u"A");
    EXPECT_EQ(OwnTitleOf(*ledger.Find(1), u""), u"");
    // A clock text the window was never given is part of its own title.
    EXPECT_EQ(OwnTitleOf(*ledger.Find(1), u"Dopis" + WideClock(33) + u" *"), u"Dopis" + WideClock(33) + u" *");
    // So is a title that only begins like the decoration.
    EXPECT_EQ(OwnTitleOf(*ledger.Find(1), u"Dokument  * "), u"Dokument  * ");
}

TEST(TitleLedger, ALongOwnTitleIsGivenBackWholeNotCutOrDecorated)
{
    // 1200 characters: the decoration written is cut to the capacity and
    // holds no clock text at all, yet the window is given back all of it.
    std::u16string own;
    for (int i = 0; i < 1200; ++i)
        own += static_cast<char16_t>(u'A' + i % 26);
    TitleLedger ledger = InFront(own);
    std::u16string decorated = Decorate(ledger, own, 35);
    ASSERT_EQ(decorated.size(), titleCapacity - 1);
    EXPECT_EQ(ledger.Observe(1, decorated), own);
    ledger.Front(2);
    std::u16string text;
    ASSERT_TRUE(ledger.GiveBack(1, decorated, text));
    EXPECT_EQ(text, own);
}

TEST(TitleLedger, EveryAlterationIsRecognisedAndUndoneOnTheWayBack)
{
    const std::u16string owner = u"Čtvrtletní zpráva - Porada vedení, návrh rozpočtu na příští rok";
    for (Alters alters : { Alters::CodePage, Alters::Cap60, Alters::Suffix, Alters::Trims }) {
        for (bool before : { false, true }) {
            SCOPED_TRACE("alters " + std::to_string(static_cast<int>(alters)) + (before ? ", in front" : ""));
            const std::u16string own = ShownBy(alters, owner);
            TitleLedger ledger = InFront(own);
            std::u16string shown = Decorate(ledger, own, 35, WriteAnswer::Answered, alters, before);
            EXPECT_EQ(ledger.Observe(1, shown), own);
            // Two writes not answered in time; the window then shows the
            // older of them, as it alters texts.
            shown = Decorate(ledger, own, 36, WriteAnswer::Unanswered, alters, before);
            Decorate(ledger, own, 37, WriteAnswer::Unanswered, alters, before);
            EXPECT_EQ(ledger.Observe(1, shown), own);

            // Out of the front: the text written back makes it show its own title.
            ledger.Front(2);
            std::u16string text;
            ASSERT_TRUE(ledger.GiveBack(1, shown, text));
            EXPECT_EQ(ShownBy(alters, text), own);
        }
    }
}

TEST(TitleLedger, AWindowThatLeftTheFrontBeforeAnsweringIsGivenItsTitleBackAfterTheDecoration)
{
    // Its owner was busy: the decoration may still arrive after the window
    // left the front, so its own title is sent after it, although it shows
    // its own title now.
    TitleLedger ledger = InFront(u"Dokument");
    Decorate(ledger, u"Dokument", 35, WriteAnswer::Unanswered);
    ledger.Front(2);
    std::u16string text;
    ASSERT_TRUE(ledger.GiveBack(1, u"Dokument", text));
    EXPECT_EQ(text, u"Dokument");
    EXPECT_FALSE(ledger.GaveBack(1, text, WriteAnswer::Unanswered, u""));
    // Sent again until a write is answered: only that tells that the
    // decoration before it has arrived (or never will).
    ASSERT_TRUE(ledger.GiveBack(1, u"Dokument", text));
    EXPECT_FALSE(ledger.GaveBack(1, text, WriteAnswer::Answered, u"Dokument"));
    EXPECT_EQ(ledger.Find(1), nullptr);

    // A window that adds its name to every title: learned from the give-back
    // itself and written once more without it.
    ledger = InFront(u"Dopis - Editor");
    Decorate(ledger, u"Dopis - Editor", 35, WriteAnswer::Unanswered);
    ledger.Front(2);
    ASSERT_TRUE(ledger.GiveBack(1, u"Dopis - Editor", text));
    ASSERT_TRUE(ledger.GaveBack(1, text, WriteAnswer::Answered, u"Dopis - Editor - Editor"));
    EXPECT_EQ(text, u"Dopis");
    EXPECT_FALSE(ledger.GaveBack(1, text, WriteAnswer::Answered, u"Dopis - Editor"));
    EXPECT_EQ(ledger.Find(1), nullptr);
}

TEST(TitleLedger, RandomDesktopsKeepEveryTitleExact)
{
    // TIKAVO_LEDGER_SEED=<n> runs other desktops.
    const char* given = std::getenv("TIKAVO_LEDGER_SEED");
    const unsigned first = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261207u;
    size_t ticks = 0;
    for (unsigned seed = first; seed < first + 400; ++seed) {
        std::mt19937 random(seed);
        TitleWorld world([&](unsigned n) { return static_cast<unsigned>(random() % n); });
        bool ok = true;
        for (int event = 0; event < 300 && ok; ++event)
            ok = world.Step();
        ok = ok && world.Finish();
        ASSERT_TRUE(ok) << "seed " << seed << ": " << world.failure();
        ticks += world.ticks();
    }
    EXPECT_GT(ticks, 40000u);
}

}  // namespace
