#include "titleclock/titleledger.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

using View = std::u16string_view;

// Equal texts, compared as memory: a tick compares a title or two every
// second, and the character-by-character comparison of UTF-16 strings is
// several times slower.
bool Same(View a, View b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

// Where a decoration's clock text stands in a title.
struct ClockPlace {
    bool found = false;
    size_t at = 0;        // where it starts in the title
    size_t skipped = 0;   // leading spaces of the clock text the window trimmed
};

bool IsDecoration(const WrittenTitle& written)
{
    return !written.giveBack;
}

View ClockOf(const WrittenTitle& written)
{
    return View(written.text).substr(written.layout.clockAt, written.layout.clockLength);
}

// The clock text of a written decoration in title, from position from on.
// Its part from the first " - " on (the date and the time) is ASCII, which
// no code page changes, so it is looked for as it is; the day name in front
// of it only has to resemble. A window that trims spaces may have dropped
// the clock text's leading spaces at the very start of the title.
ClockPlace FindClock(View title, const WrittenTitle& written, size_t from)
{
    View clock = ClockOf(written);
    if (clock.empty())
        return {};
    size_t anchor = clock.find(u" - ", 4);
    if (anchor == View::npos)
        anchor = 0;
    View tail = clock.substr(anchor);
    size_t lead = 0;
    while (lead < anchor && clock[lead] == u' ')
        ++lead;
    for (size_t t = title.find(tail, from + anchor - lead); t != View::npos; t = title.find(tail, t + 1)) {
        if (t >= from + anchor && Resembles(title.data() + t - anchor, clock.data(), anchor))
            return { true, t - anchor, 0 };
        if (from == 0 && lead > 0 && t == anchor - lead
            && Resembles(title.data(), clock.data() + lead, anchor - lead))
            return { true, 0, lead };
    }
    return {};
}

View Trimmed(View text)
{
    size_t begin = text.find_first_not_of(u' ');
    if (begin == View::npos)
        return View();
    size_t end = text.find_last_not_of(u' ');
    return text.substr(begin, end + 1 - begin);
}

// Whether title is what a window that alters texts as alteration shows for
// sent (compared piece by piece, nothing is built).
bool ShownAs(View title, const TitleAlteration& alteration, View sent)
{
    View body = alteration.trims ? Trimmed(sent) : sent;
    size_t whole = alteration.prefix.size() + body.size() + alteration.suffix.size();
    size_t expected = alteration.cap != 0 ? std::min(whole, alteration.cap) : whole;
    if (title.size() != expected || title.empty())
        return false;
    size_t at = 0;
    for (View piece : { View(alteration.prefix), body, View(alteration.suffix) }) {
        size_t n = std::min(piece.size(), expected - at);
        if (!Resembles(title.data() + at, piece.data(), n))
            return false;
        at += n;
    }
    return true;
}

void SetIdentity(TitleAlteration& alteration)
{
    alteration.prefix.clear();
    alteration.suffix.clear();
    alteration.cap = 0;
    alteration.trims = false;
}

// How far into a decoration a title cut short must reach to be told from a
// title of the window's own: into the date of its clock text. (Cut before
// that, all decorations of a day look alike, and the last one seen is
// recognised as it is.) Any text that is not a decoration: one character.
size_t ReachToTell(View sent, const TitleLayout& layout)
{
    if (layout.clockLength == 0)
        return 1;
    size_t dash = sent.substr(layout.clockAt, layout.clockLength).find(u" - ", 4);
    return layout.clockAt + (dash == View::npos ? layout.clockLength : dash + 4);
}

// How a window that showed shown for sent alters texts; false when no
// simple alteration explains it.
bool Analyse(View sent, View shown, const TitleLayout& layout, TitleAlteration& alteration)
{
    size_t n = sent.size();
    size_t m = shown.size();
    if (m == n && Resembles(shown.data(), sent.data(), n)) {
        SetIdentity(alteration);
        return true;
    }
    View trimmed = Trimmed(sent);
    if (trimmed.size() != n && m == trimmed.size() && Resembles(shown.data(), trimmed.data(), m)) {
        SetIdentity(alteration);
        alteration.trims = true;
        return true;
    }
    if (m < n && m >= ReachToTell(sent, layout) && Resembles(shown.data(), sent.data(), m)) {
        SetIdentity(alteration);
        alteration.cap = m;
        return true;
    }
    if (m > n && n > 0) {
        // Put between a prefix and a suffix. A decoration is found by its
        // clock text, any other text by trying each place (the window's
        // additions are short).
        WrittenTitle written{ std::u16string(sent), layout, false };
        auto embedded = [&](size_t p) {
            if (p + n > m || !Resembles(shown.data() + p, sent.data(), n))
                return false;
            alteration.prefix.assign(shown.substr(0, p));
            alteration.suffix.assign(shown.substr(p + n));
            alteration.cap = 0;
            alteration.trims = false;
            return true;
        };
        if (layout.clockLength != 0) {
            for (ClockPlace c = FindClock(shown, written, 0); c.found; c = FindClock(shown, written, c.at + 1))
                if (c.skipped == 0 && c.at >= layout.clockAt && embedded(c.at - layout.clockAt))
                    return true;
        } else if (m - n <= 256) {
            for (size_t p = 0; p + n <= m; ++p)
                if (embedded(p))
                    return true;
        }
    }
    return false;
}

void Learn(TitleAlteration& alteration, View sent, View shown, const TitleLayout& layout)
{
    if (Same(shown, sent))
        SetIdentity(alteration);
    else
        Analyse(sent, shown, layout, alteration);
}

// The text that makes a window show own, given how it alters texts.
std::u16string Unaltered(const TitleAlteration& alteration, const std::u16string& own)
{
    View p = alteration.prefix, s = alteration.suffix;
    if ((p.empty() && s.empty()) || own.size() < p.size() + s.size())
        return own;
    View o = own;
    if (o.substr(0, p.size()) != p || o.substr(o.size() - s.size()) != s)
        return own;
    return std::u16string(o.substr(p.size(), o.size() - p.size() - s.size()));
}

// Whether title is an own title given back, as a window shows it that adds
// something in front or behind: then the own title itself, which the same
// window shows, begins and ends with what it added. (A title its owner made
// longer does not.) What it adds is learned.
bool ShowsGivenBack(View title, View given, TitleAlteration& alteration)
{
    size_t n = given.size(), m = title.size();
    if (n == 0 || m <= n || m - n > std::min<size_t>(n, 256))
        return false;
    for (size_t p = 0; p <= n && p + n <= m; ++p) {
        View before = title.substr(0, p), after = title.substr(p + n);
        if (after.size() <= n && title.substr(p, n) == given && given.substr(0, p) == before
            && given.substr(n - after.size()) == after) {
            SetIdentity(alteration);
            alteration.prefix.assign(before);
            alteration.suffix.assign(after);
            return true;
        }
    }
    return false;
}

// Whether the window shows one of the texts written into it, in any form it
// may give them: as it showed one last, as its known alteration makes of
// any, or altered in a way first seen now (then learned). What it shows is
// kept, for the texts sent long ago are not all kept.
bool ShowsDecoration(LedgerEntry& entry, const std::u16string& title)
{
    if (entry.showsOurs && Same(title, entry.lastShown))
        return true;
    if (title.empty())
        return false;
    auto shows = [&](const WrittenTitle& written) {
        if (!IsDecoration(written))
            return ShowsGivenBack(title, written.text, entry.alteration);
        return ShownAs(title, entry.alteration, written.text)
            || Analyse(written.text, title, written.layout, entry.alteration);
    };
    if (!(entry.decorated && shows(entry.last))
        && std::none_of(entry.unanswered.begin(), entry.unanswered.end(), shows))
        return false;
    entry.showsOurs = true;
    entry.lastShown = title;
    return true;
}

// The title with every decoration of the window's cut out: the clock text
// and the rest of the decoration that follows it (today's name, the
// countdown), as far as the title still has them.
std::u16string CutDecorations(const LedgerEntry& entry, const std::u16string& title)
{
    std::u16string rest = title;
    auto cut = [&](const WrittenTitle& written) {
        if (!IsDecoration(written))
            return false;
        ClockPlace c = FindClock(rest, written, 0);
        if (!c.found)
            return false;
        const TitleLayout& l = written.layout;
        size_t runEnd = l.ownAt > l.clockAt ? l.ownAt : written.text.size();
        size_t from = l.clockAt + c.skipped;
        size_t length = 0;
        while (from + length < runEnd && c.at + length < rest.size()
               && Resembles(&rest[c.at + length], &written.text[from + length], 1))
            ++length;
        rest.erase(c.at, length);
        return true;
    };
    for (bool again = true; again;) {
        again = (entry.decorated && cut(entry.last))
             || std::any_of(entry.unanswered.begin(), entry.unanswered.end(), cut);
    }
    return rest;
}

// The window shows title: unless that is one of the texts written into it,
// its own title is what remains of it without any decoration.
void Notice(LedgerEntry& entry, const std::u16string& title)
{
    if (!ShowsDecoration(entry, title))
        entry.own = CutDecorations(entry, title);
}

// Room for one more window: the one that left the front longest ago goes.
LedgerEntry& Add(std::vector<LedgerEntry>& entries, WindowId window, bool tracked)
{
    if (entries.size() > owedLimit) {
        auto oldest = std::find_if(entries.begin(), entries.end(), [](const LedgerEntry& e) { return !e.tracked; });
        if (oldest != entries.end())
            entries.erase(oldest);
    }
    entries.emplace_back();
    entries.back().window = window;
    entries.back().tracked = tracked;
    return entries.back();
}

// Keeps a text written without an answer. Of the own titles given back only
// the last counts; when there are too many, the oldest decoration goes (any
// newer one arrives after it).
void Remember(LedgerEntry& entry, WrittenTitle written)
{
    std::vector<WrittenTitle>& texts = entry.unanswered;
    if (written.giveBack)
        texts.erase(std::remove_if(texts.begin(), texts.end(), [](const WrittenTitle& w) { return w.giveBack; }),
                    texts.end());
    if (texts.size() >= unansweredLimit)
        texts.erase(std::find_if(texts.begin(), texts.end(), IsDecoration));
    texts.push_back(std::move(written));
}

// Gives the owed windows their titles back where they still need it.
void SettleOwed(TitleLedger& ledger, const TitleAccess& access)
{
    std::vector<WindowId> owed = ledger.Owed();
    if (owed.empty())
        return;
    std::u16string shown, text;
    for (WindowId window : owed) {
        if (!access.exists(access.context, window)) {
            ledger.Forget(window);
            continue;
        }
        access.read(access.context, window, shown);
        bool write = ledger.GiveBack(window, shown, text);
        for (int attempt = 0; write && attempt < 2; ++attempt) {
            ++ledger.writing;
            WriteAnswer answer = access.write(access.context, window, text.c_str());
            if (answer == WriteAnswer::Answered)
                access.read(access.context, window, shown);
            write = ledger.GaveBack(window, text, answer, shown);
            --ledger.writing;
        }
    }
    ledger.Sweep();
}

}  // namespace

bool Resembles(const char16_t* shown, const char16_t* sent, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (shown[i] != sent[i] && sent[i] < 0x80)
            return false;
    return true;
}

std::u16string OwnTitleOf(LedgerEntry& entry, const std::u16string& title)
{
    if (ShowsDecoration(entry, title))
        return entry.own;
    return CutDecorations(entry, title);
}

LedgerEntry* TitleLedger::Find(WindowId window)
{
    for (LedgerEntry& entry : entries)
        if (entry.window == window)
            return &entry;
    return nullptr;
}

void TitleLedger::Forget(WindowId window)
{
    if (LedgerEntry* entry = Find(window))
        entry->settled = true;
    Sweep();
}

void TitleLedger::Sweep()
{
    if (writing == 0)
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [](const LedgerEntry& e) { return e.settled; }),
                      entries.end());
}

void TitleLedger::Front(WindowId window)
{
    bool known = false;
    for (LedgerEntry& entry : entries) {
        entry.tracked = window != 0 && entry.window == window;
        entry.settled = entry.settled && !entry.tracked;
        known = known || entry.tracked;
    }
    if (window != 0 && !known)
        Add(entries, window, true);
}

const std::u16string& TitleLedger::Observe(WindowId window, const std::u16string& title)
{
    static const std::u16string none;
    LedgerEntry* entry = Find(window);
    if (!entry)
        return none;
    Notice(*entry, title);
    return entry->own;
}

void TitleLedger::Decorated(WindowId window, const char16_t* text, const TitleLayout& layout,
                            WriteAnswer answer, const std::u16string& shown)
{
    if (window == 0)
        return;
    LedgerEntry* entry = Find(window);
    if (answer == WriteAnswer::Gone) {
        Forget(window);
        return;
    }
    if (!entry) {
        // Settled meanwhile (by a tick run while this one waited): it is
        // owed its title again.
        entry = &Add(entries, window, false);
        entry->own.assign(text + layout.ownAt, layout.ownLength);
    }
    entry->settled = false;   // it may show the decoration now
    if (answer == WriteAnswer::Unanswered) {
        Remember(*entry, WrittenTitle{ std::u16string(text, layout.length), layout, false });
        return;
    }
    // Answered: the owner has handled every earlier text too.
    entry->unanswered.clear();
    entry->decorated = true;
    entry->last.text.assign(text, layout.length);
    entry->last.layout = layout;
    entry->showsOurs = true;
    entry->lastShown = shown;
    Learn(entry->alteration, entry->last.text, shown, layout);
}

std::vector<WindowId> TitleLedger::Owed() const
{
    std::vector<WindowId> owed;
    for (const LedgerEntry& entry : entries)
        if (!entry.tracked && !entry.settled)
            owed.push_back(entry.window);
    return owed;
}

bool TitleLedger::GiveBack(WindowId window, const std::u16string& title, std::u16string& text)
{
    LedgerEntry* entry = Find(window);
    if (!entry)
        return false;
    Notice(*entry, title);   // its owner may have set a title meanwhile
    // Settled once it shows its own title and has answered all that was
    // written into it: a text still on its way may yet arrive, and only a
    // write it answers tells that it has.
    if (title == entry->own && entry->unanswered.empty()) {
        Forget(window);
        return false;
    }
    text = Unaltered(entry->alteration, entry->own);
    return true;
}

bool TitleLedger::GaveBack(WindowId window, std::u16string& text, WriteAnswer answer,
                           const std::u16string& shown)
{
    LedgerEntry* entry = Find(window);
    if (!entry)
        return false;
    if (answer == WriteAnswer::Gone) {
        Forget(window);
        return false;
    }
    entry->settled = false;   // what this write left counts, also if a tick inside it settled the window
    if (answer == WriteAnswer::Unanswered) {
        Remember(*entry, WrittenTitle{ text, TitleLayout{}, true });
        return false;
    }
    entry->unanswered.clear();
    if (shown == entry->own) {
        Forget(window);
        return false;
    }
    // The window changed the text it was given: learn how, and write a text
    // that allows for it, if that is another one.
    entry->showsOurs = true;
    entry->lastShown = shown;
    TitleLayout plain;
    plain.length = plain.ownLength = text.size();
    Learn(entry->alteration, text, shown, plain);
    std::u16string better = Unaltered(entry->alteration, entry->own);
    if (better == text) {
        Forget(window);
        return false;
    }
    text = std::move(better);
    return true;
}

void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front,
                 std::u16string& shown, std::u16string& own)
{
    ledger.Front(front);
    SettleOwed(ledger, access);
    ledger.Front(front);   // a tick run inside a write above may have moved on
    if (front == 0) {
        shown.clear();
        own.clear();
        return;
    }
    access.read(access.context, front, shown);
    own = ledger.Observe(front, shown);
}

void WriteDecoration(TitleLedger& ledger, const TitleAccess& access, WindowId window,
                     const char16_t* text, const TitleLayout& layout)
{
    if (window == 0)
        return;
    ++ledger.writing;
    WriteAnswer answer = access.write(access.context, window, text);
    if (answer == WriteAnswer::Answered)
        access.read(access.context, window, ledger.scratch);
    else
        ledger.scratch.clear();
    ledger.Decorated(window, text, layout, answer, ledger.scratch);
    --ledger.writing;
    ledger.Sweep();
}

void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access)
{
    ledger.Front(0);
    SettleOwed(ledger, access);
    ledger.entries.clear();
}
