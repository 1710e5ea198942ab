// The decorated title: its four forms, and the own title taken back out of
// any title that carries a decoration, this run's or an earlier one's.
#include <gtest/gtest.h>

#include "support/titleworld.h"
#include "titleclock/clocktext.h"
#include "titleclock/titleledger.h"

namespace {

const char mikulas[] = "Mikul\xE1\x9A";   // Mikuláš
// The four forms: without and with a countdown, behind and in front.
const std::pair<const char*, bool> forms[] = { { nullptr, false }, { nullptr, true }, { "00:04:59", false }, { "00:04:59", true } };

// own decorated by the program's writer on Sunday 6 December 2026 at
// 22:48:<second> (or 22:48, without seconds), and the text as the ledger keeps it.
std::u16string Compose(const std::u16string& own, const char* name, const char* remaining, bool before,
                       const char16_t* note = u"", WrittenText* written = nullptr, int second = 35, bool seconds = true)
{
    char clock[64];
    FormatClock(clock, sizeof clock, DayName(0), 6, 12, 2026, 22, 48, second, seconds);
    std::u16string out = u"garbage";
    size_t ownAt = ComposeTitle(out, own, { clock, name, remaining, note, before });
    EXPECT_EQ(out.substr(ownAt, own.size()), own);
    if (written)
        *written = { out, u"", ownAt, own.size() };
    return out;
}

// The title undecorated, the last texts this run wrote into it given.
std::u16string Undecorated(const std::u16string& title, const WrittenText& last = {}, const WrittenText& before = {})
{
    std::u16string own = u"garbage";
    const WrittenText written[2] = { last, before };
    Undecorate(title, written, own);
    return own;
}

TEST(TitleFormats, TheFourFormsCharacterForCharacter)
{
    EXPECT_EQ(Compose(u"Dokument", mikulas, nullptr, false), u"Dokument  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš *");
    EXPECT_EQ(Compose(u"Dokument", mikulas, nullptr, true), u"  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Dokument");
    // With a countdown: two spaces before the note behind, one in front, and a
    // trailing space after the own title in front only.
    EXPECT_EQ(Compose(u"Dokument", mikulas, "00:04:59", false, u"Čaj"),
              u"Dokument  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Za 00:04:59  Čaj");
    EXPECT_EQ(Compose(u"Dokument", mikulas, "00:04:59", true, u"Čaj"),
              u"  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Za 00:04:59 Čaj * Dokument ");
    // No name leaves two spaces side by side; no own title, the decoration
    // alone; letters outside Windows-1250 pass through.
    EXPECT_EQ(Compose(u"Dokument", "", nullptr, false), u"Dokument  * Neděle - 6.12.2026 - 22:48:35 *  *");
    EXPECT_EQ(Compose(u"", "", nullptr, true), u"  * Neděle - 6.12.2026 - 22:48:35 *  * ");
    EXPECT_EQ(Compose(u"Zprávy 🙂 — Новости", mikulas, nullptr, false),
              u"Zprávy 🙂 — Новости  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš *");
    // Without seconds, the countdown keeps its own.
    EXPECT_EQ(Compose(u"Dokument", mikulas, "00:04:59", true, u"Čaj", nullptr, 35, false),
              u"  * Neděle - 6.12.2026 - 22:48 * Mikuláš * Za 00:04:59 Čaj * Dokument ");
}

TEST(TitleShape, EveryFormGivesItsOwnTitleBack)
{
    const std::u16string owns[] = { u"Dokument", u"", u"  mezery  ", u"* Ukázka *", u"Dokument  * ",
                                    u"Porada - 7.12.2026 - 10:00", u"Za 00:10:00 Čaj", u"Zprávy 🙂" };
    for (const std::u16string& own : owns) {
        for (int kind = 0; kind < 16; ++kind) {   // each form, with or without seconds, a name or none
            auto [remaining, before] = forms[kind % 4];
            for (const char16_t* note : { u"Čaj", u"Porada * 10:00 * sál", u"", u"   " }) {
                WrittenText written;
                std::u16string title = Compose(own, kind < 8 ? mikulas : "", remaining, before, note, &written, 35, kind / 4 % 2);
                EXPECT_EQ(Undecorated(title, written), own);
                // Its owner marked what it showed.
                EXPECT_EQ(Undecorated(u"*" + title, written), u"*" + own);
                EXPECT_EQ(Undecorated(u"* " + title, written), u"* " + own);
                // Left by an earlier run (whose note holds no " * " in front).
                if (!(before && remaining && note[0] == u'P'))
                    EXPECT_EQ(Undecorated(title), own);
            }
        }
    }
}

TEST(TitleShape, DecorationsOfAnEarlierRunAreTakenOutWhateverTheyCarry)
{
    // Another date, time, day and name; a countdown with its note; a day name an
    // ANSI window changed; one inside the own title of a countdown in front; its owner
    // marked it (its own title like a countdown too); a window added its name in front.
    EXPECT_EQ(Undecorated(u"Dokument  * Pondělí - 7.12.2026 - 23:38:58 * Ambrož a Benjamín *"), u"Dokument");
    EXPECT_EQ(Undecorated(u"Dopis  * Pond?l? - 31.1.2025 - 00:00:01 * Jiří * Za 23:59:59  Oběd v 12"), u"Dopis");
    EXPECT_EQ(Undecorated(u"  * Sobota - 1.5.2022 - 13:47:43 * Jiří * Za 00:04:59 Čaj * Dopis"
                          u"  * Pondeli - 1.10.2030 - 12:00:00 * Jiří * "), u"Dopis");
    EXPECT_EQ(Undecorated(u"*  * Úterý - 8.12.2026 - 03:50:49 * Květoslava * Dopis"), u"*Dopis");
    EXPECT_EQ(Undecorated(u"*  * Úterý - 8.12.2026 - 03:50:49 * Jiří * Za 10:00:00 odjezd * Praha"),
              u"*Za 10:00:00 odjezd * Praha");
    EXPECT_EQ(Undecorated(u"Editor:   * Úterý - 8.12.2026 - 03:50:49 * Květoslava * Dopis"), u"Editor: Dopis");
    // Texts that only look like part of one stay the own title.
    for (const char16_t* own : { u"Porada - 7.12.2026 - 10:00:00", u"Dokument  * Neděle - 6.12.2026",
                                 u"* Neděle 6.12.2026 - 22:48:35 *", u"Záznam Po - 7.12.2026 - 10:00:00 * x",
                                 u"Záznam  * Po - 7.12.2026 - 10:00:00 x" })
        EXPECT_EQ(Undecorated(own), own);
    // Any number of copies, each taken out in one pass over the title.
    std::u16string copies = u"x";
    for (int copy = 0; copy < 700; ++copy)
        copies += Compose(u"", mikulas, nullptr, false);
    EXPECT_EQ(Undecorated(copies), u"x");
}

// Without seconds, the decorations of two texts written within a minute may
// begin alike (no countdown and one; behind and in front). With the shorter
// written last, the title shows the longer, which its owner marked: that one
// comes out (it fits furthest beside its own title), in each pair of forms.
TEST(TitleShape, OfTwoTextsOfAMinuteThatBeginAlikeTheOneShownComesOut)
{
    for (const char16_t* own : { u"Dokument", u"" }) {
        for (int pair = 0; pair < 16; ++pair) {
            WrittenText last, longer;
            auto [remaining, before] = forms[pair % 4];
            auto [longerRemaining, longerBefore] = forms[pair / 4];
            std::u16string shorter = Compose(own, mikulas, remaining, before, u"", &last, 35, false);
            std::u16string shown = Compose(own, mikulas, longerRemaining, longerBefore, u"", &longer, 59, false);
            if (shown.size() > shorter.size())
                EXPECT_EQ(Undecorated(u"*" + shown, last, longer), u"*" + std::u16string(own)) << testsupport::Readable(shorter);
        }
    }
    // A title of that minute kept with a countdown in front, its own title edited
    // since: the text written last, behind without one, is only its start.
    WrittenText behind, front;
    const std::u16string kept = Compose(u"Dokument", mikulas, nullptr, false, u"", &behind, 35, false);
    EXPECT_EQ(Undecorated(Compose(u"Dopis", mikulas, "00:04:59", true, u"Čaj", nullptr, 35, false), behind), u"Dopis");
    // One kept behind and put back with text appended once the clock moved in
    // front: it stands beside its own title, the one written last in front
    // fits one letter further (its space before the own title) but not beside it.
    Compose(u"Dokument", mikulas, nullptr, true, u"", &front, 35, false);
    EXPECT_EQ(Undecorated(kept + u" (uloženo)", front, behind), u"Dokument (uloženo)");
    // Nor is one of an earlier second, with seconds, beside a countdown behind it.
    Compose(u"Dokument", mikulas, nullptr, false, u"", &behind, 35);
    EXPECT_EQ(Undecorated(Compose(u"Dokument", mikulas, "00:04:58", false, u"Čaj", nullptr, 30), behind), u"Dokument");
}

// A countdown in front with an empty or blank note has two spaces after its
// time, as one behind begins its note: the form that fits whole wins. A
// window that trims took the two spaces of one behind.
TEST(TitleShape, ACountdownWithoutANoteIsTakenOutInEitherPlacement)
{
    WrittenText later;
    for (const char16_t* note : { u"", u"   " })
        EXPECT_EQ(Undecorated(Compose(u"Dokument", mikulas, "00:04:57", true, note)), u"Dokument");
    Compose(u"Plán", mikulas, "00:04:57", false, u"", &later, 37);
    EXPECT_EQ(Undecorated(u"Plán  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Za 00:04:59", later), u"Plán");
}

// An owner that appends to a decorated title it read a few seconds ago: what
// it appended is its own, with its spaces, in every form.
TEST(TitleShape, TextAppendedToADecorationOfAnEarlierSecondIsTheOwners)
{
    for (auto [remaining, before] : forms) {
        WrittenText later;
        Compose(u"Záloha", mikulas, remaining, before, u"Oběd", &later, 39);
        std::u16string read = Compose(u"Záloha", mikulas, remaining, before, u"Oběd", nullptr, 35);
        EXPECT_EQ(Undecorated(read + u" - hotovo", later), u"Záloha - hotovo");
    }
}

}  // namespace
