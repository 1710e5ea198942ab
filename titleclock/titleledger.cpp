#include "titleclock/titleledger.h"

#include <algorithm>
#include <cstring>
#include <utility>

using View = std::u16string_view;

namespace {

constexpr size_t clockLead = 4;       // "  * " before the day
constexpr int decorationWrites = 2;   // once more without what the window adds
constexpr int giveBackWrites = 3;     // also once its owner renamed it meanwhile

bool Same(View a, View b)
{
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

size_t CommonStart(View a, View b)
{
    size_t n = std::min(a.size(), b.size());
    return static_cast<size_t>(std::mismatch(a.begin(), a.begin() + n, b.begin()).first - a.begin());
}

size_t CommonEnd(View a, View b)
{
    size_t n = std::min(a.size(), b.size());
    return static_cast<size_t>(std::mismatch(a.rbegin(), a.rbegin() + n, b.rbegin()).first - a.rbegin());
}

// title without what the window adds to every text, where it carries that.
View Middle(const TitleEntry& e, View title)
{
    size_t before = e.addsBefore.size(), after = e.addsAfter.size();
    bool carries = title.size() >= before + after && Same(title.substr(0, before), e.addsBefore)
                && Same(title.substr(title.size() - after), e.addsAfter);
    return carries ? title.substr(before, title.size() - before - after) : title;
}

// Whether shown[at...] is the text written whole as a window may show it.
bool ShowsAt(View shown, size_t at, const WrittenText& written)
{
    View text = written.text;
    return at + text.size() <= shown.size()
        && Alike(shown.substr(at, text.size()), text, written.ownAt, written.ownAt + written.ownLength, false) == text.size();
}

// Whether title shows the text written as a window may: whole, or cut short
// to the length it was seen to cut a title to.
bool ShowsText(const TitleEntry& e, View title, const WrittenText& written)
{
    if (written.text.empty() || title.size() > written.text.size())
        return false;   // an empty title given back is its own anyway
    if (Same(title, written.text))
        return true;    // the ordinary tick's case
    return (title.size() == written.text.size() || (e.cutsAt > 0 && title.size() == e.cutsAt))
        && Alike(title, written.text, written.ownAt, written.ownAt + written.ownLength, false) == title.size();
}

// The first title read after a write: the text cut short past the day's
// first letter tells the window cuts titles (shorter, it might be its
// owner's "Dokument  * ").
void LearnCut(TitleEntry& e, View title)
{
    const WrittenText& written = e.written[0];
    View short_ = View(written.text).substr(0, std::max<size_t>(written.text.size(), 1) - 1);   // not all of it
    size_t dayFrom = (written.ownAt == 0 ? written.ownLength : 0) + clockLead;
    if (title.size() > dayFrom
        && Alike(title, short_, written.ownAt, written.ownAt + written.ownLength, false) == title.size())
        e.cutsAt = title.size();
}

// Whether the window shows the text written last, or what it showed for it
// right after the write; while that may have been cancelled, the one before.
bool ShowsOurs(const TitleEntry& e, View title, bool unanswered)
{
    for (int last = 0; last < (unanswered ? 2 : 1); ++last) {
        const WrittenText& written = e.written[last];
        if (ShowsText(e, Middle(e, title), written) || (!written.shown.empty() && Same(title, written.shown)))
            return true;
    }
    return false;
}

// The own title without what the window adds (forgotten once it no longer carries it).
View Unadded(TitleEntry& e)
{
    View middle = Middle(e, e.own);
    if (middle.size() == e.own.size())
        e.addsBefore.clear(), e.addsAfter.clear();
    return middle;
}

// The own title in title: without what the window adds, without decoration.
// True when it held a text of this run's.
bool TakeOwn(TitleEntry& e, View title)
{
    View middle = Middle(e, title);
    size_t before = middle.size() == title.size() ? 0 : e.addsBefore.size();
    bool ours = Undecorate(middle, e.written, e.own);
    e.own.insert(0, title.substr(0, before)).append(title.substr(before + middle.size()));
    return ours;
}

// Its owner set title: a title without a text of this run's makes those
// written stale.
void Renamed(TitleEntry& e, View title)
{
    if (!TakeOwn(e, title))
        for (WrittenText& written : e.written)
            written.text.clear(), written.shown.clear(), written.ownAt = written.ownLength = 0;
    e.seen.assign(title);
}

// What the window shows after a write tells.
enum class Judgement {
    Shown,        // the text written, as the window shows it
    Additions,    // with what it adds to every text, learned: to be written again
    Renamed,      // its owner set a title meanwhile
    Unreadable,   // too long to read, or gone
};

// The window shows title after a write, not as it shows texts: the text
// written last whole with what it adds to every text, where its owner's
// titles carry that too (in front it begins the own title and the title it
// was taken from, behind it ends that): learned, the own title taken anew;
// or right after the write with something else in front of it (a count); or
// else its owner's title. Only where what the window adds can put the text
// is it looked for.
Judgement Judge(TitleEntry& e, View title, bool justWritten)
{
    const WrittenText& written = e.written[0];
    size_t n = title.size(), m = written.text.size();
    bool found = false;
    if (m > 0 && n > m && Middle(e, title).size() == n) {
        size_t before = std::min({ CommonStart(title, e.own), CommonStart(title, e.seen), n - m });
        size_t lowest = n - m - std::min(CommonEnd(title, e.seen), n - m);
        for (size_t at : { lowest, before }) {
            if (at < lowest || at > before || !ShowsAt(title, at, written))
                continue;
            e.addsBefore.assign(title.substr(0, at));
            e.addsAfter.assign(title.substr(at + m));
            TakeOwn(e, e.seen);
            return Judgement::Additions;
        }
        found = ShowsAt(title, n - m, written);
    }
    if (found && justWritten)
        return Judgement::Shown;
    Renamed(e, title);
    return Judgement::Renamed;
}

// The window shows title: unless that is a text written into it last, its own
// title is what its owner set. A write answered late may show what it adds.
void Notice(TitleEntry& e, View title, bool resolved)
{
    if (resolved)
        LearnCut(e, title);
    if (ShowsOurs(e, title, resolved))
        return;
    if (resolved && !Same(title, e.seen) && !Same(title, e.own))
        Judge(e, title, false);
    else
        Renamed(e, title);
}

enum class Reading { Read, Waiting, Unreadable };

// Reads the window into title once its owner has answered what was written before.
Reading Read(const TitleAccess& access, const TitleEntry& e, bool patient, std::u16string& title)
{
    if (e.hold == Hold::Waiting && !access.answers(access.context, e.window, patient))
        return Reading::Waiting;
    return access.read(access.context, e.window, title) ? Reading::Read : Reading::Unreadable;
}

// Writes text, the own title at ownAt; the text written last becomes the one before.
WriteAnswer Write(const TitleAccess& access, TitleEntry& e, View text, size_t ownAt, size_t ownLength)
{
    std::swap(e.written[0], e.written[1]);
    WrittenText& written = e.written[0];
    written.text.assign(text);
    written.shown.clear();
    written.ownAt = ownAt;
    written.ownLength = ownLength;
    WriteAnswer answer = access.write(access.context, e.window, written.text.c_str());
    if (answer == WriteAnswer::Pending)
        e.hold = Hold::Waiting;
    return answer;
}

// Reads the window again after a write and judges what it shows.
Judgement ReadBack(const TitleAccess& access, TitleEntry& e, std::u16string& title)
{
    if (!access.read(access.context, e.window, title))
        return Judgement::Unreadable;
    LearnCut(e, title);
    Judgement judged = ShowsOurs(e, title, false) ? Judgement::Shown : Judge(e, title, true);
    if (judged == Judgement::Shown)
        e.written[0].shown.assign(title);
    return judged;
}

// Writes the window its own title until it shows it; true once it can be let go.
bool GiveOwnBack(const TitleAccess& access, TitleEntry& e, std::u16string& title)
{
    for (int writes = 0; writes < giveBackWrites; ++writes) {
        View own = Unadded(e);
        WriteAnswer answer = Write(access, e, own, 0, own.size());
        if (answer != WriteAnswer::Answered)
            return answer != WriteAnswer::Pending;   // refused or gone: let go
        switch (ReadBack(access, e, title)) {
        case Judgement::Additions: break;
        case Judgement::Renamed: if (Same(title, e.own)) return true; break;
        default: return true;   // shown, or too long to read
        }
    }
    return false;
}

// Gives the window its own title back where it needs it; true once it can be let go.
bool GiveBack(const TitleAccess& access, TitleEntry& e, bool patient, std::u16string& title)
{
    Reading read = Read(access, e, patient, title);
    if (read == Reading::Waiting)
        return false;
    bool resolved = std::exchange(e.hold, Hold::GivingBack) == Hold::Waiting;
    if (read == Reading::Read) {
        Notice(e, title, resolved);
        if (Same(title, e.own))
            return true;
    }
    return GiveOwnBack(access, e, title);   // also when too long to read, or gone
}

}  // namespace

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
    WindowId window = ledger.front;
    auto e = std::find_if(entries.begin(), entries.end(), [window](const TitleEntry& e) { return e.window == window; });
    bool known = e != entries.end();
    if (window == 0 || (!known && entries.size() >= maxWindows))
        return;
    if (!known)
        (e = entries.emplace(e))->window = window;
    Reading read = Read(access, *e, false, ledger.title);
    if (read == Reading::Unreadable && (!known || GiveOwnBack(access, *e, ledger.title)))
        entries.erase(e);
    if (read != Reading::Read)
        return;
    // A window that showed the text written last exactly, and still does, keeps
    // what it is given no longer than that: what it shows next needs no reading back.
    const WrittenText& last = e->written[0];
    bool keeps = !last.text.empty() && Same(last.shown, last.text) && Same(ledger.title, last.text);
    size_t kept = last.text.size();
    Notice(*e, ledger.title, std::exchange(e->hold, Hold::Decorated) == Hold::Waiting);
    for (int writes = 0; writes < decorationWrites; ++writes) {
        View own = Unadded(*e);
        size_t ownAt = ComposeTitle(ledger.text, own, parts);
        if (ledger.text.size() + e->addsBefore.size() + e->addsAfter.size() > maxTitleLength)
            return;   // too long to read back: not decorated
        keeps = keeps && ledger.text.size() <= kept;
        WriteAnswer answer = Write(access, *e, ledger.text, ownAt, own.size());
        if (answer == WriteAnswer::Answered && keeps)
            e->written[0].shown.assign(ledger.text);   // as the text before
        if (answer != WriteAnswer::Answered || keeps) {
            if (answer == WriteAnswer::Refused || answer == WriteAnswer::Gone)
                entries.erase(e);
            return;
        }
        switch (ReadBack(access, *e, ledger.title)) {
        case Judgement::Additions: continue;   // written again without what it adds
        case Judgement::Unreadable: GiveOwnBack(access, *e, ledger.title); return;
        default: return;   // shown, or renamed by its owner
        }
    }
}

void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access)
{
    FollowFront(ledger, access, 0, true);
    FollowFront(ledger, access, 0, true);   // for the writes the first round left unanswered
    ledger.entries.clear();
}
