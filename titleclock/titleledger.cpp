#include "titleclock/titleledger.h"

#include <algorithm>

using View = std::u16string_view;

namespace {

// Whether shown.text[at...] holds title letter for letter: a character of
// the decoration beyond ASCII may have been changed by a code page, the own
// title and what the window adds may not.
bool Matches(const ShownText& shown, View title, size_t at)
{
    for (size_t i = 0; i < title.size(); ++i) {
        size_t j = at + i;
        char16_t c = shown.text[j];
        bool decoration = j >= shown.bodyFrom && j < shown.bodyTo && (j < shown.ownFrom || j >= shown.ownTo);
        if (title[i] != c && !(decoration && c >= 0x80))
            return false;
    }
    return true;
}

// Whether title is that decoration as a window shows it: whole, cut short
// inside the day name or later (shorter, it might be a title of its own
// owner's, such as "Dokument  * "), or without the spaces at both ends.
bool Shows(const ShownText& shown, View title)
{
    View s = shown.text;
    if (s.empty() || title.size() > s.size())
        return false;
    size_t dayFrom = (shown.ownFrom == shown.bodyFrom ? shown.ownTo : shown.bodyFrom) + 4;
    if ((title.size() == s.size() || title.size() > dayFrom) && Matches(shown, title, 0))
        return true;
    size_t lead = s.find_first_not_of(u' ');
    size_t kept = lead == View::npos ? 0 : s.find_last_not_of(u' ') + 1 - lead;
    return kept < s.size() && title.size() == kept && Matches(shown, title, lead);
}

// Whether the window shows one of the last two decorations written into it,
// or the own title written back last.
bool ShowsOurs(const TitleEntry& e, View title)
{
    View before = e.addsBefore, after = e.addsAfter;
    bool given = !e.given.empty() && title.size() == before.size() + e.given.size() + after.size()
              && title.substr(0, before.size()) == before && title.substr(before.size(), e.given.size()) == e.given
              && title.substr(before.size() + e.given.size()) == after;
    return given || Shows(e.shows[0], title) || Shows(e.shows[1], title);
}

// The text that makes the window show its own title: without what it adds
// to every text (forgotten once its own title no longer carries it).
View Unadded(TitleEntry& e)
{
    View own = e.own, before = e.addsBefore, after = e.addsAfter;
    if (own.size() < before.size() + after.size() || own.substr(0, before.size()) != before
        || own.substr(own.size() - after.size()) != after) {
        e.addsBefore.clear();
        e.addsAfter.clear();
        return own;
    }
    return own.substr(before.size(), own.size() - before.size() - after.size());
}

// Whether the window shows written with something in front of it and
// behind it that its owner's titles carry too: then that is what it adds to
// every text. What it adds in front begins both the own title and the title
// it was taken from; what it adds behind ends that title (its own title may
// have lost it to an earlier run's countdown note running to the end).
bool LearnsAdditions(TitleEntry& e, View title, View written)
{
    View seen = e.seen, own = e.own;
    if (title.size() <= written.size() || title.size() - written.size() > seen.size())
        return false;
    size_t extra = title.size() - written.size();
    auto common = [title](auto from, auto to, auto in) { return size_t(std::mismatch(from, to, in, in + title.size()).first - from); };
    size_t head = std::min(common(own.begin(), own.end(), title.begin()), common(seen.begin(), seen.end(), title.begin()));
    size_t tail = common(seen.rbegin(), seen.rend(), title.rbegin());
    for (size_t at = extra > tail ? extra - tail : 0; at <= std::min(head, extra); ++at) {
        if (Resembles(title, at, written)) {
            e.addsBefore.assign(title.substr(0, at));
            e.addsAfter.assign(title.substr(at + written.size()));
            return true;
        }
    }
    return false;
}

// Keeps the decoration written, as the window will show it; the one before
// it is kept too (anew), for a window that has not answered the last one
// may still show that.
void Remember(TitleEntry& e, View written, size_t ownAt, size_t ownLength, bool anew)
{
    if (anew)
        std::swap(e.shows[0], e.shows[1]);
    ShownText& shown = e.shows[0];
    shown.text.assign(e.addsBefore);
    shown.text += written;
    shown.text += e.addsAfter;
    shown.bodyFrom = e.addsBefore.size();
    shown.bodyTo = shown.bodyFrom + written.size();
    shown.ownFrom = shown.bodyFrom + ownAt;
    shown.ownTo = shown.ownFrom + ownLength;
}

void OwnFrom(TitleLedger& ledger, TitleEntry& e, View title);

// The window shows title: unless that is one of the last two decorations
// written, its own title is what its owner set, without any decoration.
// Just after a decoration that was not answered in time, it may show that
// one with what it adds to every text, learned then.
void Notice(TitleLedger& ledger, TitleEntry& e, View title, bool arrived = false)
{
    if (ShowsOurs(e, title))
        return;
    const ShownText& last = e.shows[0];
    if (arrived && !last.text.empty()) {
        std::u16string written(View(last.text).substr(last.bodyFrom, last.bodyTo - last.bodyFrom));
        if (LearnsAdditions(e, title, written)) {
            Remember(e, written, last.ownFrom - last.bodyFrom, last.ownTo - last.ownFrom, false);
            return OwnFrom(ledger, e, e.seen);
        }
    }
    OwnFrom(ledger, e, title);
}

// The own title in title: without what the window adds, without decoration.
void OwnFrom(TitleLedger& ledger, TitleEntry& e, View title)
{
    if (title.data() != e.seen.data())
        e.seen.assign(title);
    View before = e.addsBefore, after = e.addsAfter;
    if (title.size() < before.size() + after.size() || title.substr(0, before.size()) != before
        || title.substr(title.size() - after.size()) != after)
        before = after = View();
    Undecorate(title.substr(before.size(), title.size() - before.size() - after.size()), e.known, ledger.text);
    e.own.assign(before);
    e.own += ledger.text;
    e.own += after;
}

void Forget(TitleLedger& ledger, WindowId window)
{
    auto& entries = ledger.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [window](const TitleEntry& e) { return e.window == window; }),
                  entries.end());
}

// Gives the window its own title back where it still needs it; true once it
// can be let go. Shown the text with something in front and behind, it adds
// that to every text, and its own title is taken anew with that known.
bool GiveBack(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, bool patient)
{
    if (e.pending && !access.answers(access.context, e.window, patient))
        return !access.read(access.context, e.window, ledger.title);   // unless it is gone
    if (!access.read(access.context, e.window, ledger.title))
        return true;
    Notice(ledger, e, ledger.title, e.pending && !e.pendingOwn);
    e.pending = false;
    bool learned = false;
    for (int writes = 0; writes < 3 && ledger.title != e.own; ++writes) {
        e.given.assign(Unadded(e));
        WriteAnswer answer = access.write(access.context, e.window, e.given.c_str());
        if (answer != WriteAnswer::Answered) {
            e.pending = e.pendingOwn = answer == WriteAnswer::Pending;
            return !e.pending;
        }
        if (!access.read(access.context, e.window, ledger.title))
            return true;
        if (ledger.title == e.own)
            break;
        if (!learned && LearnsAdditions(e, ledger.title, e.given)) {
            learned = true;
            OwnFrom(ledger, e, e.seen);
        } else {
            Notice(ledger, e, ledger.title);   // its owner set a title meanwhile
        }
    }
    return ledger.title == e.own;
}

// Every window but the one in front is given its title back; those that
// can be are let go.
void GiveTitlesBack(TitleLedger& ledger, const TitleAccess& access, bool patient)
{
    auto& entries = ledger.entries;
    for (size_t i = 0; i < entries.size();) {
        if (entries[i].window != ledger.front && GiveBack(ledger, access, entries[i], patient))
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
        else
            ++i;
    }
}

}  // namespace

void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front)
{
    ledger.front = front;
    GiveTitlesBack(ledger, access, false);
}

void DecorateFront(TitleLedger& ledger, const TitleAccess& access, const TitleParts& parts)
{
    WindowId window = ledger.front;
    auto found = std::find_if(ledger.entries.begin(), ledger.entries.end(),
                              [window](const TitleEntry& e) { return e.window == window; });
    if (window == 0 || (found == ledger.entries.end() && ledger.entries.size() >= maxWindows))
        return;
    if (found == ledger.entries.end()) {
        ledger.entries.emplace_back();
        ledger.entries.back().window = window;
        found = ledger.entries.end() - 1;
    }
    TitleEntry& e = *found;
    bool answers = !e.pending || access.answers(access.context, window, false);
    if (!access.read(access.context, window, ledger.title))
        return Forget(ledger, window);
    if (!answers)
        return;
    Notice(ledger, e, ledger.title, e.pending && !e.pendingOwn);   // as the last decoration left it
    e.pending = false;
    e.known.name.clear();
    AppendCp1250(e.known.name, parts.name);
    e.known.note.assign(parts.note);
    for (int writes = 0; writes < 2; ++writes) {
        View own = Unadded(e);
        size_t ownAt = ComposeTitle(ledger.text, own, parts);
        if (ledger.text.size() > maxTitleLength)
            return;   // too long to be read back: left as it is
        Remember(e, ledger.text, ownAt, own.size(), writes == 0);
        e.given.clear();
        WriteAnswer answer = access.write(access.context, window, ledger.text.c_str());
        if (answer != WriteAnswer::Answered) {
            e.pending = answer == WriteAnswer::Pending;
            e.pendingOwn = false;
            if (!e.pending)
                Forget(ledger, window);
            return;
        }
        if (!access.read(access.context, window, ledger.title))
            return Forget(ledger, window);
        if (ShowsOurs(e, ledger.title))
            return;
        if (writes > 0 || !LearnsAdditions(e, ledger.title, ledger.text))
            return Notice(ledger, e, ledger.title);   // its owner set a title meanwhile
        // Written again without what it adds, its own title taken anew
        // with that known.
        OwnFrom(ledger, e, e.seen);
    }
}

void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access)
{
    // A second round for the writes the first left unanswered.
    ledger.front = 0;
    GiveTitlesBack(ledger, access, true);
    GiveTitlesBack(ledger, access, true);
    ledger.entries.clear();
}
