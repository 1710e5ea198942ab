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

// title without what the window adds to every text, where it carries that.
View Middle(const TitleEntry& e, View title)
{
    size_t before = e.addsBefore.size(), after = e.addsAfter.size();
    bool carries = title.size() >= before + after && Same(title.substr(0, before), e.addsBefore)
                && Same(title.substr(title.size() - after), e.addsAfter);
    return carries ? title.substr(before, title.size() - before - after) : title;
}

// Whether shown begins written's text, but for letters of the decoration that
// a code page showed as other letters or "?".
bool Alike(View shown, const WrittenText& written)
{
    for (size_t i = 0; i < shown.size(); ++i) {
        char16_t c = written.text[i], s = shown[i];
        bool own = i >= written.ownAt && i < written.ownAt + written.ownLength;
        bool letter = s >= 0x80 || ((s | 0x20) >= u'a' && (s | 0x20) <= u'z') || s == u'?';
        if (s != c && (own || c < 0x80 || !letter))
            return false;
    }
    return true;
}

// Whether title shows the text written as a window may: whole, letter for
// letter, or cut short past the day's first letter (shorter, it might be its
// owner's "Dokument  * "). Trimmed, it shows this run's text all the same.
bool ShowsText(View title, const WrittenText& written)
{
    View text = written.text;
    if (text.empty() || title.size() > text.size())
        return false;   // an empty title given back is its own anyway
    if (Same(title, text))
        return true;    // the ordinary tick's case
    size_t dayFrom = (written.ownAt == 0 ? written.ownLength : 0) + clockLead;
    return (title.size() == text.size() || title.size() > dayFrom) && Alike(title, written);
}

// Whether the window shows the text written last, or, while that may have been
// cancelled, the one before.
bool ShowsOurs(const TitleEntry& e, View title, bool unanswered)
{
    for (int last = 0; last < (unanswered ? 2 : 1); ++last) {
        const WrittenText& written = e.written[last];
        if (ShowsText(Middle(e, title), written) || (!written.around.empty() && Same(title, written.around)))
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
// A new title without a text of this run's is its owner's: none written shows.
void OwnFrom(TitleLedger& ledger, TitleEntry& e, View title)
{
    View middle = Middle(e, title);
    size_t before = middle.size() == title.size() ? 0 : e.addsBefore.size();
    bool ours = Undecorate(middle, e.written, ledger.text);
    e.own.assign(title.substr(0, before)).append(ledger.text).append(title.substr(before + middle.size()));
    if (title.data() != e.seen.data() && !ours)
        e.written[0] = e.written[1] = WrittenText();
    if (title.data() != e.seen.data())
        e.seen.assign(title);
}

// What became of reading or writing a window.
enum class Outcome {
    Read,         // its title is in ledger.title
    Wait,         // its owner has not answered a write yet
    Unreadable,   // what it shows is too long to read
    LetGo,        // it refuses writes, or is gone
    Shown,        // it shows the text written, as a window may
    Additions,    // with what it adds to every text, learned: to be written again
    Renamed,      // its owner set a title meanwhile
};

// The window shows title after a write: the text written last whole with what
// it adds to every text, where its owner's titles carry that too (in front it
// begins the own title and the title it was taken from, behind it ends that):
// learned, the own title taken anew; or right after the write with something
// else around it that changes every time (a count); or else its owner's title.
Outcome Judge(TitleLedger& ledger, TitleEntry& e, View title, bool justWritten)
{
    WrittenText& written = e.written[0];
    View text = written.text, own = e.own, seen = e.seen;
    bool found = false, learned = Middle(e, title).size() < title.size();   // the rest is its owner's
    bool around = !text.empty() && title.size() > text.size() && !learned;
    for (size_t at = 0; around && at + text.size() <= title.size(); ++at) {
        View before = title.substr(0, at), after = title.substr(at + text.size());
        if (!Alike(title.substr(at, text.size()), written))
            continue;
        found = true;
        if (Same(own.substr(0, at), before) && Same(seen.substr(0, at), before) && seen.size() >= after.size()
            && Same(seen.substr(seen.size() - after.size()), after)) {
            e.addsBefore.assign(before);
            e.addsAfter.assign(after);
            OwnFrom(ledger, e, e.seen);
            return Outcome::Additions;
        }
    }
    if (!found || !justWritten) {
        OwnFrom(ledger, e, title);
        return Outcome::Renamed;
    }
    written.around.assign(title);
    return Outcome::Shown;
}

// The window shows title: unless that is a text written into it last, its own
// title is what its owner set. A write answered late may show what it adds.
void Notice(TitleLedger& ledger, TitleEntry& e, View title)
{
    bool resolved = std::exchange(e.pending, false);
    if (ShowsOurs(e, title, resolved))
        return;
    if (resolved && !Same(title, e.seen) && !Same(title, e.own))
        Judge(ledger, e, title, false);
    else
        OwnFrom(ledger, e, title);
}

// Reads the window once its owner has answered what was written before.
Outcome Read(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, bool patient)
{
    if (e.pending && !access.answers(access.context, e.window, patient))
        return Outcome::Wait;
    return access.read(access.context, e.window, ledger.title) ? Outcome::Read : Outcome::Unreadable;
}

// Writes ledger.text (its room reused), the own title at ownAt; with
// readBack, reads the window again.
Outcome Write(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, size_t ownAt, size_t ownLength,
              bool readBack)
{
    std::swap(e.written[0], e.written[1]);
    WrittenText& written = e.written[0];
    written.text.swap(ledger.text);
    written.around.clear();
    written.ownAt = ownAt;
    written.ownLength = ownLength;
    WriteAnswer answer = access.write(access.context, e.window, written.text.c_str());
    e.pending = answer == WriteAnswer::Pending;
    written.kept = answer == WriteAnswer::Answered && !readBack;   // as the text before
    if (answer != WriteAnswer::Answered)
        return e.pending ? Outcome::Wait : Outcome::LetGo;
    if (!readBack)
        return Outcome::Shown;
    if (!access.read(access.context, e.window, ledger.title))
        return Outcome::Unreadable;
    written.kept = Same(ledger.title, written.text);
    return ShowsOurs(e, ledger.title, false) ? Outcome::Shown : Judge(ledger, e, ledger.title, true);
}

// Writes the window its own title until it shows it; true once it can be let go.
bool GiveOwnBack(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e)
{
    for (int writes = 0; writes < giveBackWrites; ++writes) {
        ledger.text.assign(Unadded(e));
        switch (Write(ledger, access, e, 0, ledger.text.size(), true)) {
        case Outcome::Wait: return false;
        case Outcome::Additions: break;
        case Outcome::Renamed: if (Same(ledger.title, e.own)) return true; break;
        default: return true;   // shown, let go, or too long to read
        }
    }
    return false;
}

// Gives the window its own title back where it needs it; true once it can be let go.
bool GiveBack(TitleLedger& ledger, const TitleAccess& access, TitleEntry& e, bool patient)
{
    switch (Read(ledger, access, e, patient)) {
    case Outcome::Wait: return false;
    case Outcome::Read:
        Notice(ledger, e, ledger.title);
        return Same(ledger.title, e.own) || GiveOwnBack(ledger, access, e);
    default: return GiveOwnBack(ledger, access, e);   // too long to read, or gone
    }
}

}  // namespace

void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front, bool patient)
{
    ledger.front = front;
    auto& entries = ledger.entries;
    entries.erase(std::remove_if(entries.begin(), entries.end(), [&](TitleEntry& e) {
        return e.window != front && GiveBack(ledger, access, e, patient);
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
    Outcome read = Read(ledger, access, *e, false);
    if (read == Outcome::Unreadable && (!known || GiveOwnBack(ledger, access, *e)))
        entries.erase(e);
    if (read != Outcome::Read)
        return;
    // A window that showed the text written last exactly, and still does, keeps
    // what it is given: what it shows next needs no reading back.
    bool keeps = e->written[0].kept && Same(ledger.title, e->written[0].text);
    Notice(ledger, *e, ledger.title);
    for (int writes = 0; writes < decorationWrites; ++writes) {
        View own = Unadded(*e);
        size_t ownAt = ComposeTitle(ledger.text, own, parts);
        if (ledger.text.size() + e->addsBefore.size() + e->addsAfter.size() > maxTitleLength)
            return;   // too long to read back: not decorated
        switch (Write(ledger, access, *e, ownAt, own.size(), !keeps)) {
        case Outcome::Additions: continue;   // written again without what it adds
        case Outcome::LetGo: entries.erase(e); return;
        case Outcome::Unreadable: GiveOwnBack(ledger, access, *e); return;
        default: return;   // shown, not answered yet, or renamed by its owner
        }
    }
}

void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access)
{
    FollowFront(ledger, access, 0, true);
    FollowFront(ledger, access, 0, true);   // for the writes the first round left unanswered
    ledger.entries.clear();
}
