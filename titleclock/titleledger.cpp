#include "titleclock/titleledger.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/cp1250.h"
#include "titleclock/clocktext.h"

using View = std::u16string_view;

namespace {

constexpr size_t none = View::npos, maxDayLength = 15;
constexpr int decorationWrites = 2;   // once more without what the window adds
constexpr int giveBackWrites = 3;     // also once its owner renamed it meanwhile

bool StandsAt(View s, size_t at, View text) { return at <= s.size() && s.substr(at, text.size()) == text; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool Same(View a, View b) { return a.size() == b.size() && !std::memcmp(a.data(), b.data(), 2 * a.size()); }

// Where form (clocktext.h) read from at on ends before limit, or none: a word,
// numbers of their digits, the countdown, the name up to its " *", a note
// up to what follows it (else to limit), an own title in front up to the
// closing space the title ends with (else the rest); the rest as it stands.
struct Found { size_t end = none, space = none; };   // from the clock text's start; a countdown's closing space
Found ReadForm(View s, size_t at, std::string_view form, size_t limit = none)
{
    for (size_t i = 0, n = 0; i < form.size() && at <= limit && at != none; ++i, n = 0) {
        char part = form[i];
        size_t next = std::min(form.find_first_of("nrto", i + 1), form.size()) - i - 1;   // letters as they stand
        char16_t ends[8] = {};   // what ends the name (its " *") or a note
        std::copy_n(form.data() + i + 1, std::min<size_t>(next, 8), ends);
        bool word = part == 'D', number = part >= '1' && part <= '4';
        size_t least = number ? part - '0' : 1, most = word ? maxDayLength : number ? std::max<size_t>(least, 2) : 1;
        if (part == 'o')
            return next == 0 ? Found{ at } : s.back() == u' ' ? Found{ at, s.size() - 1 } : Found{};
        if (part == 'r' || part == 'n' || part == 't') {
            at = part == 'r' ? ReadForm(s, at, remainingForm).end : next == 0 ? limit : s.find(View(ends, part == 'n' ? 2 : next), at);
            continue;
        }
        while (at + n < s.size() && n < most && (word ? s[at + n] != u' ' : number ? IsDigit(s[at + n]) : s[at + n] == part))
            ++n;
        at = n >= least ? at + n : none;
    }
    return at <= limit ? Found{ at } : Found{};
}

// How much of shown shows text as a window may, cut short where shown ends (none:
// it does not): letters beyond ASCII as others or "?", a pair of surrogates as
// one "?", but in [exactFrom, exactTo); with otherDigits, any digit for a digit.
size_t LengthShowing(View shown, View text, size_t exactFrom, size_t exactTo, bool otherDigits)
{
    size_t at = 0;
    for (size_t i = 0; i < text.size() && at < shown.size(); ++i, ++at) {
        char16_t c = text[i], s = shown[at];
        bool exact = i >= exactFrom && i < exactTo;
        bool letter = s >= 0x80 || ((s | 0x20) >= u'a' && (s | 0x20) <= u'z') || s == u'?';
        if (s != c && !exact && c >= 0xD800 && c < 0xDC00 && s == u'?')
            i += i + 1 < text.size();
        else if (s != c && (exact || !((c >= 0x80 && letter) || (otherDigits && IsDigit(c) && IsDigit(s)))))
            return none;
    }
    return at;
}

// A clock text: its two spaces (none at the title's start, as a window that
// trims shows it), its star and its end; this run's text there.
struct Clock { size_t start = none, star = none, end = none; Found ours; };

// A text this run wrote, at the clock text's star: as written or as a window
// shows it (letters a code page lacks, cut short at the title's end); else of an
// earlier minute or second of the day (other digits) beside its own title as
// written, or, behind, before its end (its owner appended to what it read). A countdown
// in front closes after the own title as written (trimmed: the end). Of the two
// texts written last, the one that fits furthest wins, one beside its own title as
// written before any other (the last written on a tie). Without seconds, two texts
// of a minute may begin alike (no countdown and one, behind and in front): the
// shorter fits too, but the title goes on with the longer's letters.
Found ThisRunsText(View s, const Clock& clock, const WrittenText (&written)[2])
{
    Found best;
    bool bestBeside = false;
    for (bool otherDigits : { false, true }) {
        for (const WrittenText& w : written) {
            View text = w.text, own = text.substr(w.ownAt, w.ownLength);
            bool front = w.ownAt > 0, closes = front && w.ownAt + w.ownLength < text.size();
            View decoration = front ? text.substr(0, w.ownAt) : text.substr(w.ownLength);
            View d = decoration.substr(std::min<size_t>(2, decoration.size()));   // from the star
            size_t length = decoration.size() <= 2 ? none : LengthShowing(s.substr(clock.star), d, 0, 0, otherDigits);
            if (length == none)
                continue;   // not this text, or an own title given back
            size_t dated = d.find(u" - ", d.find(u" - ") + 3), end = clock.star + length, ownEnd = end + own.size();
            bool counts = ReadForm(s, end - (d.back() == u' '), remainingForm).end != none;   // a countdown follows
            size_t head = own.size() - std::min(own.size(), s.size() - end);   // behind: own's part before
            bool around = end < s.size() && Same(own.substr(head), s.substr(end));   // and its end after it
            bool beside = front ? StandsAt(s, end, own) && (!closes || ownEnd == s.size() || StandsAt(s, ownEnd, u" "))
                                : around || (clock.start >= own.size() && StandsAt(s, clock.start - own.size(), own)
                                             && !counts && (end == s.size() || decoration.back() != u' '));   // nor a note
            if ((!beside && counts && !closes) || (otherDigits && (!beside || own.empty()
                                || LengthShowing(s.substr(clock.star, dated), d.substr(0, dated), 0, 0, false) != dated)))
                continue;   // the start of a countdown's form; of an earlier minute or second: of the same day
            size_t space = beside ? ownEnd : s.size() - 1;
            Found found{ end, closes && space >= end && StandsAt(s, space, u" ") ? space : none };
            if (best.end == none || std::pair(beside, end) > std::pair(bestBeside, best.end))
                best = found, bestBeside = beside;
        }
    }
    return best;
}

// The first clock text from from on with its two spaces, or of this run's
// (its last space may be trimmed at the end); lead: the title's first letter.
Clock NextClockText(View s, size_t from, size_t lead, const WrittenText (&written)[2])
{
    auto clockForm = [](std::string_view form) { return form.substr(2, form.size() - 3); };   // from the star
    for (size_t star = s.find(u"* ", from); star != none; star = s.find(u"* ", star + 1)) {
        size_t end = std::min(ReadForm(s, star, clockForm(clockForms[0])).end, ReadForm(s, star, clockForm(clockForms[1])).end);
        if (end == none)
            continue;
        bool spaced = star == lead || (star >= from + 2 && StandsAt(s, star - 2, u"  "));
        Clock clock{ spaced ? star - std::min<size_t>(star - from, 2) : star, star, end + StandsAt(s, end, u" "), {} };
        clock.ours = ThisRunsText(s, clock, written);
        if (spaced || clock.ours.end != none)
            return clock;
    }
    return {};
}

// How much of shown shows the text written, up to length (its own title exactly).
size_t LengthShowingWritten(View shown, const WrittenText& w, size_t length)
{
    return LengthShowing(shown, View(w.text).substr(0, length), w.ownAt, w.ownAt + w.ownLength, false);
}

// title without what the window adds to every text, where it carries that.
View WithoutAdditions(const TitleEntry& e, View title)
{
    size_t before = e.addsBefore.size(), after = e.addsAfter.size(), n = title.size();
    bool carries = n >= before + after && StandsAt(title, 0, e.addsBefore) && StandsAt(title, n - after, e.addsAfter);
    return carries ? title.substr(before, n - before - after) : title;
}

// Whether the window shows the text written last as it may (whole, or cut as
// it was seen to cut), or as right after the write; while that may have been
// cancelled, the text before.
bool ShowsTextWritten(const TitleEntry& e, View title, bool unanswered)
{
    View middle = WithoutAdditions(e, title);
    for (int last = 0; last < (unanswered ? 2 : 1); ++last) {
        const WrittenText& w = e.written[last];
        size_t length = w.text.size(), shown = middle.size();
        if ((!w.shown.empty() && Same(title, w.shown))
            || (length > 0 && (shown == length || (e.cutsAt > 0 && shown == e.cutsAt && shown < length))
                && (Same(middle, w.text) || LengthShowingWritten(middle, w, length) == shown)))
            return true;
    }
    return false;
}

// The own title in title: without decorations, with what the window adds
// where it carries that (else forgotten); true when it held a text of this run's.
bool TakeOwnTitle(TitleEntry& e, View title)
{
    View middle = WithoutAdditions(e, title);
    if (middle.size() == title.size())
        e.addsBefore.clear(), e.addsAfter.clear();
    size_t before = e.addsBefore.size();
    bool ours = Undecorate(middle, e.written, e.own);
    e.own.insert(0, title.substr(0, before)).append(title.substr(before + middle.size()));
    return ours;
}

// What a window shows (Additions: learned after a write, to be written again).
enum class Judgement { Shown, Additions, Renamed };

// Writes text, the own title at ownAt; the text written last becomes the one before.
WriteAnswer Write(const TitleAccess& access, TitleEntry& e, View text, size_t ownAt, size_t ownLength)
{
    std::swap(e.written[0], e.written[1]);
    WrittenText& w = e.written[0];
    w.text.assign(text), w.shown.clear(), w.ownAt = ownAt, w.ownLength = ownLength;
    WriteAnswer answer = access.write(access.context, e.window, w.text.c_str());
    if (answer == WriteAnswer::Pending)
        e.hold = Hold::Waiting;
    return answer;
}

// The window shows title: a text written into it last as it may, or its
// owner's title. After a write, answered late or just now, it may show the
// text cut as it cuts titles (past the day's first letter: shorter, it may be
// its owner's "Dokument  * "), or whole with what it adds to every text where
// its owner's titles carry that too (the own title and the one it was taken
// from): learned, looked for only where that can put it. Answered late, a
// text that also stands one letter beside is its owner's run of one letter
// (a text standing twice, at both ends, is the window's); just now, after
// something in front (a count), it is shown.
Judgement Judge(TitleEntry& e, View title, bool late, bool justWritten)
{
    WrittenText& w = e.written[0];
    size_t n = title.size(), m = w.text.size(), dayFrom = (w.ownAt == 0 ? w.ownLength : 0) + std::strchr(clockForms[1], 'D') - clockForms[1];
    if ((late || justWritten) && n > dayFrom && n < m && LengthShowingWritten(title, w, n) == n)
        e.cutsAt = n;
    auto common = [&title](View b, bool atEnd) -> size_t {   // letters in common at the start (end)
        return atEnd ? std::mismatch(title.rbegin(), title.rend(), b.rbegin(), b.rend()).first - title.rbegin()
                     : std::mismatch(title.begin(), title.end(), b.begin(), b.end()).first - title.begin();
    };
    auto shows = [&](size_t at) { return LengthShowingWritten(title.substr(at, m), w, m) == m; };
    bool shown = ShowsTextWritten(e, title, late);
    if (!shown && (justWritten || (late && title != e.seen && title != e.own)) && m > 0 && n > m
        && WithoutAdditions(e, title).size() == n) {
        size_t most = std::min({ common(e.own, false), common(e.seen, false), n - m });
        size_t least = n - m - std::min(common(e.seen, true), n - m);
        size_t at = least <= most && shows(least) ? least : least < most && shows(most) ? most : none;
        bool run = !justWritten && at != none && ((at > 0 && shows(at - 1)) || (at < n - m && shows(at + 1)));
        if (at != none && !run) {
            e.addsBefore.assign(title.substr(0, at));
            e.addsAfter.assign(title.substr(at + m));
            TakeOwnTitle(e, e.seen);
            return Judgement::Additions;
        }
        shown = justWritten && shows(n - m);
    }
    if (!shown) {   // its owner's title; one without a text of this run's makes those written stale
        if (!TakeOwnTitle(e, title))
            e.written[0] = e.written[1] = WrittenText();
        e.seen.assign(title);
    } else if (justWritten) {
        w.shown.assign(title);
    }
    return shown ? Judgement::Shown : Judgement::Renamed;
}

// Writes the window its own title until it shows it; true once it can be let go.
bool GiveOwnBack(const TitleAccess& access, TitleEntry& e, std::u16string& title)
{
    for (int writes = 0; writes < giveBackWrites; ++writes) {
        View own = WithoutAdditions(e, e.own);
        WriteAnswer answer = Write(access, e, own, 0, own.size());
        if (answer != WriteAnswer::Answered)
            return answer != WriteAnswer::Pending;   // refused or gone: let go
        if (!access.read(access.context, e.window, title))
            return true;   // too long, or gone
        Judgement judged = Judge(e, title, false, true);
        if (judged == Judgement::Shown || (judged == Judgement::Renamed && title == e.own))
            return true;
    }
    return false;
}

// Gives the window its own title back where it needs it; true once it can be let go.
bool GiveBack(const TitleAccess& access, TitleEntry& e, bool patient, std::u16string& title)
{
    if (e.hold == Hold::Waiting && !access.answers(access.context, e.window, patient))
        return false;   // its owner may still be handling what was written before
    bool read = access.read(access.context, e.window, title);
    bool resolved = std::exchange(e.hold, Hold::GivingBack) == Hold::Waiting;
    if (read)
        Judge(e, title, resolved, false);
    return (read && title == e.own) || GiveOwnBack(access, e, title);   // also when too long, or gone
}

}  // namespace

size_t ComposeTitle(std::u16string& out, View own, const TitleParts& parts)
{
    size_t ownAt = 0;
    AppendCp1250(out.assign(parts.before ? View() : own), parts.clock);
    for (const char* part = decorationForms[parts.remaining != nullptr][parts.before]; *part; ++part) {
        const char* piece = *part == 'n' ? parts.name : *part == 'r' ? parts.remaining : nullptr;
        if (*part == 'r')   // the countdown's letters before the time
            out.append(remainingForm, remainingForm + std::strcspn(remainingForm, "2"));
        if (*part == 'o' || *part == 't')
            ownAt = *part == 'o' ? out.size() : ownAt, out.append(*part == 'o' ? own : View(parts.note));
        else
            piece ? AppendCp1250(out, piece) : out.append(1, static_cast<char16_t>(*part));
    }
    return ownAt;
}

bool Undecorate(View title, const WrittenText (&written)[2], std::u16string& own)
{
    std::vector<std::pair<size_t, size_t>> spans;   // what lies between them is the own title
    size_t lead = title.find_first_not_of(u' ');
    bool ours = false;
    for (Clock clock = NextClockText(title, 0, lead, written), next; clock.star != none; clock = next) {
        bool mine = clock.ours.end != none;
        ours |= mine;
        next = NextClockText(title, mine ? std::max(clock.end, clock.ours.end) : clock.end, lead, written);
        Found found = clock.ours;   // else any run's, its clock text whole before the next, in the first form
        for (int form = 3; !mine && form >= 0 && found.end == none; --form)   // that fits whole: [countdown][in front]
            found = ReadForm(title, clock.end, decorationForms[form / 2][form % 2], std::min(next.start, title.size()));
        if (found.end != none)
            spans.emplace_back(clock.start, found.end);
        if (found.space != none)
            spans.emplace_back(found.space, found.space + 1);
    }
    std::sort(spans.begin(), spans.end());
    size_t from = 0;
    own.clear();
    for (auto [begin, end] : spans)
        own.append(title.substr(from, begin - std::min(from, begin))), from = std::max(from, end);
    own.append(title.substr(from));
    return ours;
}

void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front, bool patient)
{
    ledger.front = front;
    auto& entries = ledger.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](TitleEntry& e) {
        return e.window != front && GiveBack(access, e, patient, ledger.title);
    }), entries.end());
}

void DecorateFront(TitleLedger& ledger, const TitleAccess& access, const TitleParts& parts)
{
    auto& entries = ledger.entries;
    auto e = std::find_if(entries.begin(), entries.end(), [&](const TitleEntry& e) { return e.window == ledger.front; });
    bool known = e != entries.end();
    if (ledger.front == 0 || (!known && entries.size() >= maxWindows))
        return;
    if (!known)
        (e = entries.emplace(e))->window = ledger.front;
    if (e->hold == Hold::Waiting && !access.answers(access.context, e->window, false))
        return;
    if (!access.read(access.context, e->window, ledger.title)) {
        if (!known || GiveOwnBack(access, *e, ledger.title))
            entries.erase(e);   // too long to read, or gone
        return;
    }
    // A window that showed the text written last exactly, and still does, keeps
    // what it is given no longer than that: what it shows next needs no reading back.
    const WrittenText& last = e->written[0];
    bool keeps = Same(last.shown, last.text) && Same(ledger.title, last.text);
    bool late = std::exchange(e->hold, Hold::Decorated) == Hold::Waiting, shown = Judge(*e, ledger.title, late, false) == Judgement::Shown;
    for (int writes = 0; writes < decorationWrites; ++writes, shown = false) {
        View own = WithoutAdditions(*e, e->own);
        size_t ownAt = ComposeTitle(ledger.text, own, parts);
        if (ledger.text.size() + e->addsBefore.size() + e->addsAfter.size() > maxTitleLength)
            return;   // too long to read back: not decorated
        if (shown && !late && Same(ledger.text, last.text))
            return;   // it shows that already (a clock without seconds, within its minute)
        keeps = keeps && ledger.text.size() <= last.text.size();
        WriteAnswer answer = Write(access, *e, ledger.text, ownAt, own.size());
        if (answer == WriteAnswer::Refused || answer == WriteAnswer::Gone)
            entries.erase(e);
        if (answer == WriteAnswer::Answered && keeps)
            e->written[0].shown.assign(ledger.text);   // as the text before
        if (answer != WriteAnswer::Answered || keeps)
            return;
        if (!access.read(access.context, e->window, ledger.title))
            return (void)GiveOwnBack(access, *e, ledger.title);   // grown too long, or gone
        if (Judge(*e, ledger.title, false, true) != Judgement::Additions)
            return;   // else written again without what it adds
    }
}

void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access)
{
    FollowFront(ledger, access, 0, true);
    FollowFront(ledger, access, 0, true);   // for the writes the first round left unanswered
    ledger.entries.clear();
}
