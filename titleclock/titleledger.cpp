#include "titleclock/titleledger.h"

#include <algorithm>
#include <utility>

#include "common/cp1250.h"

using View = std::u16string_view;

namespace {

// Whether title carries what the window adds to every text.
bool Carries(const TitleEntry& e, View title)
{
    View before = e.addsBefore, after = e.addsAfter;
    return title.size() >= before.size() + after.size() && title.substr(0, before.size()) == before
        && title.substr(title.size() - after.size()) == after;
}

// Whether title shows the text written as a window may: with what it adds
// to every text, letter for letter (a code page may change a letter of the
// decoration beyond ASCII), also cut short inside the day name or later
// (shorter, it might be its owner's "Dokument  * "), or without the spaces
// at both ends.
bool Shows(const TitleEntry& e, const WrittenText& written, View title)
{
    View x = e.addsBefore, s = written.text, y = e.addsAfter;
    size_t n = x.size() + s.size() + y.size(), lead = 0, trail = 0;
    auto at = [&](size_t j) { return j < x.size() ? x[j] : j < x.size() + s.size() ? s[j - x.size()] : y[j - n + y.size()]; };
    auto matches = [&](size_t from) {
        for (size_t i = 0, j = from; i < title.size(); ++i, ++j) {
            size_t k = j - x.size();
            bool letter = j >= x.size() && k < s.size() && (k < written.ownAt || k >= written.ownAt + written.ownLength);
            if (title[i] != at(j) && !(letter && at(j) >= 0x80))
                return false;
        }
        return true;
    };
    size_t dayFrom = x.size() + (written.ownAt == 0 ? written.ownLength : 0) + 4;
    if (s.empty() || title.size() > n)
        return false;
    if (n == s.size() && title == s)
        return true;   // the ordinary tick's case, compared as memory
    if ((title.size() == n || title.size() > dayFrom) && matches(0))
        return true;
    while (lead < n && at(lead) == u' ')
        ++lead;
    while (trail < n - lead && at(n - 1 - trail) == u' ')
        ++trail;
    return lead + trail > 0 && title.size() == n - lead - trail && matches(lead);
}

// Whether the window shows the text written last, or, while that write may
// have been cancelled, the one before.
bool ShowsOurs(const TitleEntry& e, View title, bool unanswered)
{
    return Shows(e, e.written[0], title) || (unanswered && Shows(e, e.written[1], title));
}

// The text that makes the window show its own title: without what it adds
// to every text (forgotten once its own title no longer carries it).
View Unadded(TitleEntry& e)
{
    if (!Carries(e, e.own))
        e.addsBefore.clear(), e.addsAfter.clear();
    return View(e.own).substr(e.addsBefore.size(), e.own.size() - e.addsBefore.size() - e.addsAfter.size());
}

// Whether the window shows written with something in front and behind that
// its owner's titles carry too: then that is what it adds to every text.
// What it adds in front begins both the own title and the title it was
// taken from; what it adds behind ends that title (its own title may have
// lost it to an earlier run's countdown note running to the end).
bool LearnsAdditions(TitleEntry& e, View title, View written)
{
    View seen = e.seen, own = e.own;
    if (written.empty() || title.size() <= written.size() || title.size() - written.size() > seen.size())
        return false;
    auto common = [title](auto from, auto to, auto in) { return size_t(std::mismatch(from, to, in, in + title.size()).first - from); };
    size_t head = std::min(common(own.begin(), own.end(), title.begin()), common(seen.begin(), seen.end(), title.begin()));
    size_t tail = common(seen.rbegin(), seen.rend(), title.rbegin()), extra = title.size() - written.size();
    for (size_t at = extra > tail ? extra - tail : 0; at <= std::min(head, extra); ++at) {
        if (Resembles(title, at, written)) {
            e.addsBefore.assign(title.substr(0, at));
            e.addsAfter.assign(title.substr(at + written.size()));
            return true;
        }
    }
    return false;
}

// The own title in title: without what the window adds, without decoration.
void OwnFrom(TitleLedger& ledger, TitleEntry& e, View title)
{
    if (title.data() != e.seen.data())
        e.seen.assign(title);
    bool carries = Carries(e, title);
    size_t before = carries ? e.addsBefore.size() : 0, after = carries ? e.addsAfter.size() : 0;
    Undecorate(title.substr(before, title.size() - before - after), e.known, ledger.text);
    e.own.assign(title.substr(0, before)).append(ledger.text).append(title.substr(title.size() - after));
}

// The window shows title: unless that is a text written into it last, its
// own title is what its owner set, without any decoration. Once a write not
// answered in time is over, the window may show its text with what it adds
// to every text (if it shows anything new), learned then.
void Notice(TitleLedger& ledger, TitleEntry& e, View title)
{
    bool resolved = std::exchange(e.pending, false);
    if (ShowsOurs(e, title, resolved))
        return;
    bool arrived = resolved && title != e.seen && title != e.own;
    OwnFrom(ledger, e, arrived && LearnsAdditions(e, title, e.written[0].text) ? View(e.seen) : title);
}

// Writes the text and reads the window back: false unless it was answered,
// and then *letGo when the window is to be let go.
bool Write(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, std::u16string& text, size_t ownAt,
           size_t ownLength, bool* letGo)
{
    std::swap(e.written[0], e.written[1]);
    e.written[0].text.swap(text);   // the room of the older one reused
    e.written[0].ownAt = ownAt;
    e.written[0].ownLength = ownLength;
    WriteAnswer answer = access.write(access.context, e.window, e.written[0].text.c_str());
    e.pending = answer == WriteAnswer::Pending;
    *letGo = answer == WriteAnswer::Refused || answer == WriteAnswer::Gone
          || (answer == WriteAnswer::Answered && !access.read(access.context, e.window, ledger.title));
    return answer == WriteAnswer::Answered && !*letGo;
}

// Reads the window once its owner has answered what was written before
// (*wait while it has not); false when it is to be let go.
bool Ready(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, bool patient, bool* wait)
{
    *wait = e.pending && !access.answers(access.context, e.window, patient);
    return access.read(access.context, e.window, ledger.title);
}

// Gives the window its own title back where it still needs it; true once it
// can be let go.
bool GiveBack(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, bool patient)
{
    bool wait, letGo = false, learned = false;
    if (!Ready(ledger, access, e, patient, &wait))
        return true;
    if (wait)
        return false;
    Notice(ledger, e, ledger.title);
    for (int writes = 0; writes < 3 && ledger.title != e.own; ++writes) {
        ledger.text.assign(Unadded(e));
        if (!Write(ledger, access, e, ledger.text, 0, ledger.text.size(), &letGo))
            return letGo;
        if (ledger.title == e.own)
            break;
        if (!learned && (learned = LearnsAdditions(e, ledger.title, e.written[0].text)))
            OwnFrom(ledger, e, e.seen);   // written again without what it adds
        else
            Notice(ledger, e, ledger.title);   // its owner set a title meanwhile
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
    auto& entries = ledger.entries;
    WindowId window = ledger.front;
    auto e = std::find_if(entries.begin(), entries.end(), [window](const TitleEntry& e) { return e.window == window; });
    if (window == 0 || (e == entries.end() && entries.size() >= maxWindows))
        return;
    if (e == entries.end())
        (e = entries.emplace(e))->window = window;
    bool wait, letGo = false;
    if (!Ready(ledger, access, *e, false, &wait))
        return (void)entries.erase(e);
    if (wait)
        return;
    Notice(ledger, *e, ledger.title);   // as the last decoration left it
    KnownParts& known = e->known;
    std::swap(known.names[0], known.names[1]);
    std::swap(known.notes[0], known.notes[1]);
    AppendCp1250(known.names[0].erase(), parts.name);
    known.notes[0].assign(parts.note);
    for (int writes = 0; writes < 2; ++writes) {
        View own = Unadded(*e);
        size_t ownAt = ComposeTitle(ledger.text, own, parts);
        if (ledger.text.size() > maxTitleLength)
            return;   // too long to be read back: left as it is
        if (!Write(ledger, access, *e, ledger.text, ownAt, own.size(), &letGo))
            return letGo ? (void)entries.erase(e) : void();
        if (ShowsOurs(*e, ledger.title, false))
            return;
        if (writes > 0 || !LearnsAdditions(*e, ledger.title, e->written[0].text))
            return Notice(ledger, *e, ledger.title);   // its owner set a title meanwhile
        OwnFrom(ledger, *e, e->seen);   // written again without what it adds
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
