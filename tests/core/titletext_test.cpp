// The decorated title: its four forms, character for character.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/support/titleworld.h"
#include "titleclock/titletext.h"

namespace {

// Sunday 6 December 2026, 22:48:35.
const char sundayClock[] = "  * Ned\xEC" "le - 6.12.2026 - 22:48:35 * ";
const char16_t sundayClockWide[] = u"  * Neděle - 6.12.2026 - 22:48:35 * ";
const char mikulas[] = "Mikul\xE1\x9A";   // Mikuláš

std::u16string Compose(const std::u16string& own, const char* name, bool countdown, bool before,
                       const char* remaining = "", const char16_t* note = u"",
                       const char* clock = sundayClock)
{
    char16_t out[titleCapacity];
    std::fill(out, out + titleCapacity, u'x');
    ComposeTitle(out, titleCapacity, own, clock, name, countdown, before, remaining, note);
    return out;
}

#define EXPECT_TITLE(actual, expected) \
    EXPECT_TRUE((actual) == std::u16string(expected)) << testsupport::Readable(actual) << " != " << testsupport::Readable(expected)

TEST(TitleFormats, TheFourFormsCharacterForCharacter)
{
    // Behind and in front of the own title.
    EXPECT_TITLE(Compose(u"Dokument", mikulas, false, false),
                 u"Dokument  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš *");
    EXPECT_TITLE(Compose(u"Dokument", mikulas, false, true),
                 u"  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Dokument");
    // With a countdown: two spaces before the note behind, one in front, and a
    // trailing space after the own title in front only.
    EXPECT_TITLE(Compose(u"Dokument", mikulas, true, false, "00:04:59", u"Čaj"),
                 u"Dokument  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Za 00:04:59  Čaj");
    EXPECT_TITLE(Compose(u"Dokument", mikulas, true, true, "00:04:59", u"Čaj"),
                 u"  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Za 00:04:59 Čaj * Dokument ");
}

TEST(TitleFormats, AnEmptyNameLeavesTwoSpacesSideBySide)
{
    EXPECT_TITLE(Compose(u"Dokument", "", false, false),
                 u"Dokument  * Neděle - 6.12.2026 - 22:48:35 *  *");
    EXPECT_TITLE(Compose(u"Dokument", "", false, true),
                 u"  * Neděle - 6.12.2026 - 22:48:35 *  * Dokument");
    EXPECT_TITLE(Compose(u"Dokument", "", true, false, "01:00:00", u""),
                 u"Dokument  * Neděle - 6.12.2026 - 22:48:35 *  * Za 01:00:00  ");
    EXPECT_TITLE(Compose(u"Dokument", "", true, true, "01:00:00", u""),
                 u"  * Neděle - 6.12.2026 - 22:48:35 *  * Za 01:00:00  * Dokument ");
    // An empty own title: the decoration alone.
    EXPECT_TITLE(Compose(u"", "", false, false), u"  * Neděle - 6.12.2026 - 22:48:35 *  *");
}

TEST(TitleFormats, OwnTitlesOutsideWindows1250PassThroughUntouched)
{
    // The own title stays UTF-16 whatever it holds; only the program's own
    // texts are widened.
    const std::u16string own = u"Zprávy 🙂 — Новости";
    EXPECT_TITLE(Compose(own, mikulas, false, false),
                 u"Zprávy 🙂 — Новости  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš *");
    EXPECT_TITLE(Compose(own, mikulas, false, true),
                 u"  * Neděle - 6.12.2026 - 22:48:35 * Mikuláš * Zprávy 🙂 — Новости");
}

TEST(TitleFormats, ACompositionLongerThanItsCapacityIsCutWithoutSplittingACharacter)
{
    // 990 characters of own title behind: the name and the end of the
    // clock text fall off, the composition holds 999 characters.
    std::u16string own(990, u'a');
    std::u16string behind = Compose(own, mikulas, false, false);
    ASSERT_EQ(behind.size(), titleCapacity - 1);
    EXPECT_TITLE(behind, own + std::u16string(sundayClockWide).substr(0, 9));

    // In front the end of the own title falls off.
    std::u16string front = Compose(own, mikulas, false, true);
    ASSERT_EQ(front.size(), titleCapacity - 1);
    EXPECT_EQ(front, (std::u16string(sundayClockWide) + u"Mikuláš * " + own).substr(0, 999));

    // A cut that would fall inside a surrogate pair leaves the whole pair out;
    // a pair that ends right at the capacity stays.
    std::u16string cut = Compose(std::u16string(996, u'b') + u"🙂🙂", "", false, false);
    EXPECT_EQ(cut, std::u16string(996, u'b') + u"🙂");
    std::u16string fits = Compose(std::u16string(997, u'b') + u"🙂", "", false, false);
    EXPECT_EQ(fits, std::u16string(997, u'b') + u"🙂");
}

}  // namespace
