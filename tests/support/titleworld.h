// A model desktop for the title rules' tests and fuzzer: windows that keep, re-encode (code pages 1252 and 1251),
// cut, extend, trim, count, ignore or refuse the titles they are given; owners that rename, mark or edit them
// (also between a write and its read-back) or are busy, slow or hung, as on Windows, not as under Wine (a write
// not taken in time is cancelled, one taken completes later, a thread silent over 5 s is not sent to, a program
// run as administrator refuses at once); titles decorated by earlier runs or only resembling the clock's; and the
// clock decorating the window in front through the program's own ledger calls.
//
// Checked after every event: no title the clock wrote shows two clock texts
// more than its own title; every window let go of shows exactly its own title,
// also once its owner is done; after a tick the window in front, decorated by
// an answered write, shows exactly its own title decorated; the ledger keeps
// within its bounds; after the exit every window that answers shows its own
// title. A window's own title is what its owner set last, undecorated, as the
// window shows it (a counting window's with its count, also when given back).
#ifndef TIKAVO_TESTS_TITLEWORLD_H
#define TIKAVO_TESTS_TITLEWORLD_H

#include <cstdio>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "common/localtime.h"
#include "titleclock/clocktext.h"
#include "titleclock/titleledger.h"

namespace testsupport {

enum class Alters { Keeps, Cp1252, Cp1251, Cap60, Prefix, Suffix, Trims, Counts, Ignores, Refuses, Cap255, Cap260, Count };
enum class Owner { Free, Busy, Slow, Hung };
constexpr size_t npos = std::u16string::npos;

// What a window of the kind shows for a text it is given (as its count-th).
inline std::u16string ShownBy(Alters alters, const std::u16string& text, unsigned count = 0)
{
    switch (alters) {
    case Alters::Cp1252:
    case Alters::Cp1251: {
        // An ANSI window: letters its code page lacks become their base letter
        // (1252) or a question mark, a pair of surrogates one question mark.
        static const std::u16string from = u"ěščřžýáíéůúďťňĚŠČŘŽÝÁÍÉŮÚĎŤŇ", to = u"escrzyaieuudtnESCRZYAIEUUDTN";
        static const std::u16string in1252 = u"ŠšŽžŒœŸ€‚ƒ„…†‡ˆ‰‹‘’“”•–—˜™›";
        std::u16string shown;
        for (size_t i = 0; i < text.size(); ++i) {
            char16_t c = text[i];
            bool kept = c < 0x80 || (alters == Alters::Cp1252 ? c < 0x100 || in1252.find(c) != npos
                                                              : (c >= 0x400 && c < 0x460) || c == u'—');
            shown += kept ? c : alters == Alters::Cp1252 && from.find(c) < to.size() ? to[from.find(c)] : u'?';
            i += c >= 0xD800 && c < 0xDC00 && i + 1 < text.size();
        }
        return shown;
    }
    case Alters::Cap60: return text.substr(0, 60);
    case Alters::Cap255: return text.substr(0, 255);
    case Alters::Cap260: return text.substr(0, 260);
    case Alters::Prefix: return u"Prohlížeč: " + text;
    case Alters::Suffix: return text + u" - Editor";
    case Alters::Counts: {
        std::string n = std::to_string(count);
        return u"(" + std::u16string(n.begin(), n.end()) + u") " + text;
    }
    case Alters::Trims: {
        size_t begin = text.find_first_not_of(u' ');
        return begin == npos ? u"" : text.substr(begin, text.find_last_not_of(u' ') + 1 - begin);
    }
    default: return text;
    }
}

// A title readable in a failure message: non-ASCII as \uXXXX, in brackets.
inline std::string Readable(const std::u16string& text)
{
    std::string out = "[";
    for (char16_t c : text) {
        char part[8];
        std::snprintf(part, sizeof part, c >= 0x20 && c < 0x7F ? "%c" : "\\u%04X", static_cast<unsigned>(c));
        out += part;
    }
    return out + "]";
}

struct ModelWindow {
    WindowId id = 0;
    Alters alters = Alters::Keeps;
    Owner owner = Owner::Free;
    unsigned count = 0;        // the texts a counting window was given
    bool touched = false;      // it has shown a text of the clock's since its owner set one
    bool owed = false;         // the clock wrote into it, or held it when its owner renamed it
    bool late = false;         // a write that came late is not read yet
    bool hasInFlight = false;  // its slow owner took inFlight and still handles it
    std::u16string title, own;        // what it shows, and its own title
    std::u16string sent, sentOwn, inFlight;   // what the clock sent it last, its own title then; what a slow owner took
    std::u16string saved, savedOwn;           // a decorated title its owner keeps, and the own title then
    unsigned savedForm = 0, sentForm = 0;   // the forms the clock wrote then
};

class TitleWorld {
public:
    // pick(n) gives a number below n; the events follow from it.
    explicit TitleWorld(std::function<unsigned(unsigned)> pick, bool trace = false) : pick_(std::move(pick)), trace_(trace)
    {
        windows_.reserve(64);
        Open(), Open();
    }

    // One event, drawn from a table of shares; false once a rule is broken (see
    // failure()). A new kind of event goes at the end: the committed desktops'
    // draws lie below the total of the table they were found with, so they keep
    // their events.
    bool Step()
    {
        static constexpr struct { unsigned share; void (*run)(TitleWorld&); } events[] = {
            { 36, [](TitleWorld& t) { t.Tick(false); } }, { 4, [](TitleWorld& t) { t.Tick(true); } },
            { 12, [](TitleWorld& t) { t.SwitchFront(); } }, { 8, [](TitleWorld& t) { t.Rename(t.Some(), false); } },
            { 3, [](TitleWorld& t) { t.Rename(t.Some(), true); } }, { 3, [](TitleWorld& t) { t.Edit(t.Some()); } },
            { 10, [](TitleWorld& t) { t.ChangeOwner(t.Some()); } }, { 4, [](TitleWorld& t) { t.Open(); } },
            { 3, [](TitleWorld& t) { t.Close(t.Some()); } }, { 4, [](TitleWorld& t) { t.before_ = !t.before_, ++t.form_; } },
            { 4, [](TitleWorld& t) { t.countdown_ = !t.countdown_, ++t.form_; } },
            { 4, [](TitleWorld& t) { t.day_ = t.pick_(4), ++t.form_; } },
            { 3, [](TitleWorld& t) { t.note_ = t.pick_(5), ++t.form_; } }, { 2, [](TitleWorld& t) { t.Open(true); } },
            // (since desktop-seed-30046264:) the clock with or without seconds; earlier runs' the other way
            { 4, [](TitleWorld& t) { t.seconds_ = !t.seconds_, ++t.form_; } },
            { 2, [](TitleWorld& t) { t.earlierSeconds_ = !t.earlierSeconds_; } },
        };
        static const unsigned total = [] { unsigned sum = 0; for (const auto& event : events) sum += event.share; return sum; }();
        unsigned kind = 0;
        for (unsigned draw = pick_(total); draw >= events[kind].share; ++kind)
            draw -= events[kind].share;
        events[kind].run(*this);
        for (const ModelWindow& w : windows_)
            if (w.owed && !Held(w) && (w.title != w.own || (w.hasInFlight && ShownBy(w.alters, w.inFlight) != w.own)))
                Fail("window " + Show(w) + " was let go but does not show its own title " + Readable(w.own));
        return failure_.empty();
    }

    // The exit command, as patient as the program is then.
    bool Finish()
    {
        Trace("exit");
        exiting_ = true;
        GiveAllTitlesBack(ledger_, access_);
        for (ModelWindow& w : windows_)
            if (w.owed && w.owner != Owner::Hung && (Relax(w), w.title != w.own))
                Fail("after the exit window " + Show(w) + " does not show its own title " + Readable(w.own));
        return failure_.empty();
    }

    const std::string& failure() const { return failure_; }
    size_t ticks() const { return ticks_; }

private:
    static bool Read(void* self, WindowId id, std::u16string& title)
    {
        ModelWindow* w = static_cast<TitleWorld*>(self)->Find(id);
        bool readable = w && w->title.size() <= maxTitleLength;
        if (readable)
            w->late = false, title = w->title;
        return readable;
    }
    static WriteAnswer Write(void* self, WindowId id, const char16_t* text)
    {
        TitleWorld& world = *static_cast<TitleWorld*>(self);
        ModelWindow* w = world.Find(id);
        if (world.trace_)
            world.Trace("  write " + std::to_string(id) + " " + Readable(text));
        if (!w || w->alters == Alters::Refuses)
            return w ? WriteAnswer::Refused : WriteAnswer::Gone;
        w->sent = text, w->sentForm = world.form_, w->sentOwn = w->own;
        if (w->owner == Owner::Slow && !w->hasInFlight)
            w->inFlight = text, w->hasInFlight = true;   // taken, and handled slowly
        if (w->owner != Owner::Free)
            return WriteAnswer::Pending;
        world.Deliver(*w, text);
        // Its owner sets a title before the clock reads it back. (Not at the
        // exit, which does not wait for an owner that does so at every write.)
        if (!world.exiting_ && world.pick_(10) == 0)
            world.ownerActed_ = true, world.Rename(w, false, w->title);
        return WriteAnswer::Answered;
    }
    static bool Answers(void* self, WindowId id, bool patient)
    {
        TitleWorld& world = *static_cast<TitleWorld*>(self);
        ModelWindow* w = world.Find(id);
        if (w && patient && w->owner != Owner::Hung)
            world.Relax(*w);   // waited for until it is free
        return !w || w->owner == Owner::Free;   // a window that is gone has nothing on its way
    }

    void Deliver(ModelWindow& w, const std::u16string& text)
    {
        if (w.alters == Alters::Ignores)
            return;
        w.touched = w.owed = true;
        w.title = ShownBy(w.alters, text, ++w.count);
        if (w.alters == Alters::Counts && text == w.own)
            w.own = w.title;   // given its own title back, it counts it too
        // (With no name or note between, the star and spaces closing a decoration
        // in front make a clock text of an own title beginning like one.)
        if (Clocks(w.title) > Clocks(w.own) + 1 + (ClockEnd(Unadd(w, w.own), 0, "D") != npos))
            Fail("window " + Show(w) + " shows two clock texts more than its own title " + Readable(w.own));
    }

    // Where form (a piece of one in clocktext.h: 'D' a word, numbers of their
    // digits, the rest as it stands) read at at ends, or npos.
    static size_t ReadAt(const std::u16string& t, size_t at, std::string_view form)
    {
        for (size_t i = 0, n = 0; i < form.size() && at != npos; ++i, n = 0) {
            bool word = form[i] == 'D';
            size_t least = word ? 1 : form[i] >= '1' && form[i] <= '4' ? form[i] - '0' : 0;
            while (least && (word || n < std::max<size_t>(least, 2)) && at + n < t.size()
                   && (word ? t[at + n] != u' ' : t[at + n] >= u'0' && t[at + n] <= u'9'))
                ++n;
            at = least ? (n >= least ? at + n : npos) : at < t.size() && t[at] == form[i] ? at + 1 : npos;
        }
        return at;
    }
    // Where a clock text of either form read at at from its piece from ("* D",
    // "D" or " - ") to its star ends, or npos.
    static size_t ClockEnd(const std::u16string& t, size_t at, std::string_view from)
    {
        size_t end = npos;
        for (std::string_view form : clockForms)
            end = std::min(end, ReadAt(t, at, form.substr(form.find(from), form.size() - 1 - form.find(from))));
        return end;
    }
    // The clock texts in t: at its start, or after two spaces that are not the
    // space behind the clock text before.
    static int Clocks(const std::u16string& t)
    {
        int clocks = 0;
        for (size_t star = t.find(u"* "), free = 0, end; star != npos; star = t.find(u"* ", star + 1))
            if ((end = ClockEnd(t, star, "* D")) != npos
                && (t.find_first_not_of(u' ') == star || (star >= free + 2 && t.compare(star - 2, 2, u"  ") == 0)))
                ++clocks, free = end + 1;
        return clocks;
    }
    // Whether an owner may have written t: nothing that begins a clock text as
    // written ("* " and a word at the start or after two spaces), even once
    // marked "* " (a first word, a date and a time), nor a countdown's start
    // ("Za HH:MM:SS" and two spaces, or one and a space ending t).
    static bool OwnersMayWrite(const std::u16string& t)
    {
        size_t first = t.find_first_not_of(u' ');
        if (first == npos)
            return true;
        size_t star = first + (t.compare(first, 3, u"** ") == 0);   // (once its mark is taken off)
        if ((t.compare(star, 2, u"* ") == 0 && t.size() > star + 2 && t[star + 2] != u' ') || ClockEnd(t, first, "D") != npos)
            return false;
        for (size_t at = t.find(u"  * "); at != npos; at = t.find(u"  * ", at + 1))
            if (at + 4 < t.size() && t[at + 4] != u' ')
                return false;
        size_t time = ReadAt(t, first, remainingForm + 1);
        return time == npos || !(t.compare(time, 2, u"  ") == 0 || (time < t.size() && t.back() == u' '));
    }

    // A tick follows the window in front, then decorates it; held in a box,
    // the ticks that run inside the box come between the two (two boxes deep).
    void Tick(bool held, int depth = 0)
    {
        static const int dates[4][4] = { { 7, 12, 2026, 1 }, { 8, 12, 2026, 2 }, { 31, 12, 2026, 4 }, { 1, 1, 2027, 5 } };
        static const char* const names[4] = { "Ambro\x9E a Benjam\xEDn", "Kv\xECtoslava", "", "Mikul\xE1\x9A" };
        ++ticks_, ++second_;
        Trace("tick " + std::to_string(second_) + (held ? " held in a box" : ""));
        char clock[80];
        const int* d = dates[day_];
        FormatClock(clock, sizeof clock, DayName(d[3]), d[0], d[1], d[2],
                    second_ / 3600 % 24, second_ / 60 % 60, second_ % 60, seconds_);
        FollowFront(ledger_, access_, front_);
        for (unsigned inner = held ? pick_(3) : 0; inner > 0 && depth < 2; --inner)
            SwitchFront(), Tick(pick_(4) == 0, depth + 1);
        const TitleParts parts{ clock, names[day_], countdown_ ? "00:04:59" : nullptr, notes_[note_], before_ };
        ownerActed_ = false;
        DecorateFront(ledger_, access_, parts);
        if (trace_ && !ledger_.entries.empty())
            Trace(Ledger("\n  ledger ").substr(1));
        ModelWindow* w = Find(ledger_.front);
        if (w && !ownerActed_ && w->owner == Owner::Free && w->alters != Alters::Ignores && w->alters != Alters::Refuses
            && Held(*w, true)) {
            std::u16string composed, expected;
            ComposeTitle(composed, Unadd(*w, w->own), parts);
            if (w->title != (expected = ShownBy(w->alters, composed, w->count)))
                Fail("window in front " + Show(*w) + " is not decorated as " + Readable(expected));
        }
        if (ledger_.entries.size() > maxWindows)
            Fail("the ledger keeps " + std::to_string(ledger_.entries.size()) + " windows");
        for (const TitleEntry& e : ledger_.entries)
            if (e.own.size() + e.seen.size() + e.written[0].text.size() + e.written[1].text.size() > 4 * maxTitleLength + 2000)
                Fail("the ledger keeps a text too long");
    }

    // title without what the window adds to every text.
    static std::u16string Unadd(const ModelWindow& w, const std::u16string& title)
    {
        size_t before = w.alters == Alters::Prefix ? 11 : 0, after = w.alters == Alters::Suffix ? 9 : 0;
        return title.size() < before + after ? title : title.substr(before, title.size() - before - after);
    }

    // Its owner sets a new title, or marks the one it shows as changed with
    // "*" or "* " in front, as editors do (and sets it anew once saved).
    void Rename(ModelWindow* w, bool edit, std::u16string shown = u"")
    {
        if (!w || w->owner == Owner::Slow || w->owner == Owner::Hung)
            return;
        bool waited = Held(*w) && !Held(*w, true) && w->owner != Owner::Busy && !w->late;   // a write it never took
        if (shown.empty() && (w->owner == Owner::Busy || w->late || waited) && !w->sent.empty())
            shown = ShownBy(w->alters, w->sent, w->count + 1);
        std::u16string raw, base = w->own;
        edit = edit && MakesFromShown(*w);
        bool marks = edit && base.compare(0, 1, u"*") != 0, fromShown = marks && w->touched;
        if (edit && !marks) {
            raw = base = base.substr(base.compare(0, 2, u"* ") == 0 ? 2 : 1);
        } else if (marks) {
            // (An earlier run's decoration in front of a title marked would pass
            // for one behind a title its owner extended: it marks its title as
            // it knows it. A trimming window drops an empty title's mark space.)
            const std::u16string mark = pick_(2) == 0 && w->alters != Alters::Trims ? u"* " : u"*";
            raw = mark + (w->touched ? w->title : w->own);
            base = mark + base;
        } else {
            base = raw = pick_(3) == 0 ? Spelled() : Listed();
            if (pick_(3) == 0) {   // earlier runs decorated its own title as the window showed it
                bool twice = pick_(4) == 0, adds = w->alters == Alters::Prefix || w->alters == Alters::Suffix;
                raw = EarlierRun(adds || w->alters == Alters::Counts ? base : ShownBy(w->alters, base), w->alters, !twice);
                if (twice)
                    raw = EarlierRun(raw, w->alters, false);
            }
            size_t cap = ShownBy(w->alters, std::u16string(300, u'x')).size();
            if (raw.size() > cap)
                raw = base;   // a decoration it cuts short cannot be told from text of its own
            // (Behind a title 4 characters shorter than it keeps it cuts the
            // decoration in its first spaces, as if its owner wrote them.)
            if (base.size() + 4 >= cap && base.size() < cap)
                base = raw = u"Dokument";
            // (Before a write is read back, while the owner is busy with it, a late
            // one is unread or the clock waits for its answer, a title holding what
            // the window shows for it or the text written at an end would pass for
            // additions: it sets another; after one it never took, only a run of one letter.)
            std::u16string title = ShownBy(w->alters, raw, w->count + 1), sent = w->sent;
            bool around = title.size() > sent.size()
                          && (title.find(sent) == 0 || title.rfind(sent) == title.size() - sent.size());
            if (!shown.empty() && title != shown && (title.find(shown) != npos || around)
                && !(waited && title.find_first_not_of(title[0]) == npos))
                base = raw = u"Jiný název";
        }
        if (trace_)
            Trace("window " + std::to_string(w->id) + (edit ? " edited " : " renamed ") + Readable(raw));
        unsigned count = w->alters == Alters::Counts ? ++w->count : 0;
        w->own = ShownBy(w->alters, base, count);
        w->title = ShownBy(w->alters, raw, count);
        w->touched = fromShown;   // a title of its own, unless made from what it showed
        w->owed = fromShown || (Held(*w) && w->alters != Alters::Ignores && w->alters != Alters::Refuses);
        if (!fromShown)
            w->saved.clear();
    }

    // Whether the ledger holds w (and, answered, has had its write answered).
    bool Held(const ModelWindow& w, bool answered = false) const
    {
        return std::any_of(ledger_.entries.begin(), ledger_.entries.end(),
                           [&](const TitleEntry& e) { return e.window == w.id && (!answered || e.hold != Hold::Waiting); });
    }
    // Owners that make titles from what they show: not of windows that cut, add
    // to or count every text (they would cut, double or count it themselves).
    static bool MakesFromShown(const ModelWindow& w) { return ShownBy(w.alters, std::u16string(300, u'x')).size() == 300; }

    // Its owner edits what its window shows: trims the mark off its end, takes
    // a status out, keeps the decorated title, or puts a kept one back a tick
    // or more later, as it was or with text appended. (Only one kept while the
    // clock writes the same form: another form is an earlier run's, and text
    // appended to it reads as its note. Not right after a late write, before
    // it is read: trimmed, it would pass for a window that cuts titles.)
    void Edit(ModelWindow* w)
    {
        if (!w || w->owner != Owner::Free || w->late || !MakesFromShown(*w))
            return;
        static const std::u16string status = u" - ukládání", appended = u" (uloženo)";
        std::u16string title = w->title, own = w->own;
        switch (pick_(3)) {
        case 0:
            if (own.size() > 1 && own.back() == u'*' && title.size() >= own.size()   // the clock in front
                && title.compare(title.size() - own.size(), own.size(), own) == 0
                && (title == own || (w->touched && title.compare(0, own.size(), own) != 0))) {
                while (!own.empty() && own.back() == u'*')
                    own.pop_back(), title.pop_back();
            } else if (title.find(status) != npos && own.find(status) != npos
                       && !(w->touched && title != ShownBy(w->alters, w->sent)
                            && (before_ || w->own != w->sentOwn || ShownBy(w->alters, w->sent) == w->sentOwn))) {
                // (Not in a kept title of an earlier second: in front its own title, known only as written last, reads
                // as another's; behind, text appended to it reads as an earlier run's own title until the clock has
                // written it as part of the own title beside the clock text.)
                title.erase(title.find(status), status.size()), own.erase(own.find(status), status.size());
            } else {
                return;
            }
            break;
        case 1:
            if (w->touched && w->sentForm == form_ && w->title == ShownBy(w->alters, w->sent))
                w->saved = w->title, w->savedOwn = w->own, w->savedForm = form_;
            return;
        default:   // (while the clock holds it: a window let go of is another's)
            if (w->saved.empty() || w->savedOwn.empty() || w->savedForm != form_ || !Held(*w))
                return;
            // (Text appended would seem to give back the closing space a trimming
            // window took from a countdown in front, or be the note of one behind
            // without: there it goes back as it was. One kept with no own title
            // beside the decoration would pass for an earlier run's: none is.)
            bool noNote = countdown_ && !before_ && notes_[note_][0] <= u' ';
            bool append = pick_(2) == 0 && w->alters != Alters::Trims && !noNote;
            if (((countdown_ || append) && w->savedOwn != w->own)
                || (append && w->sentOwn != w->savedOwn && w->sentOwn != ShownBy(w->alters, w->savedOwn + appended)))
                return;   // (beside another own title it is an earlier run's, text after it its note or own title,
                          // also beside another the clock wrote last, unless its own title stands around it)
            title = w->saved + (append ? appended : u"");
            own = w->savedOwn + (append ? appended : u"");
        }
        w->title = ShownBy(w->alters, title), w->own = ShownBy(w->alters, own);
        if (trace_)
            Trace("window " + std::to_string(w->id) + " edits to " + Readable(w->title));
        // (A window the clock let go of is not read again until it comes to
        // the front: what its owner puts back meanwhile stays.)
        w->owed = Held(*w) && w->alters != Alters::Ignores && w->alters != Alters::Refuses;
    }

    // A title as owners write them: plain ones, and ones that resemble the
    // clock's text (a time stamp in a report, a departure, a star inside).
    std::u16string Listed()
    {
        static const char16_t* const titles[] = {
            u"Dokument", u"Dopis", u"Zprávy 🙂 — Новости", u"Čtvrtletní zpráva.docx - Word", u"",
            u"  mezery kolem  ", u"Velmi dlouhý název dokumentu, který se do titulku nevejde celý, ani s rezervou",
            u"Dokument  * ", u"* Ukázka *", u"Ambrož a Benjamín *", u"Porada - 7.12.2026 - 10:00", u"Za 00:10:00 Čaj",
            u"Výpis * Po - 1.1.2000 - 10:00:00 * hotovo", u"x * Po - 1.1.2000 - 10:00:00 * y * z",
            u"Úterý - 8.12.2026 - 10:00:00 * Záznam", u"Za 00:10:00", u"Za 10:00:00 odjezd * Praha",
            u"Log * Sobota - 31.12.2026 - 23:59:59 *", u"Středa 9.12.2026 10:00:00", u"a * b * c",
            u"Záznam * Za 00:04:59  Porada", u"Dopis.odt - Writer*", u"Dopis - ukládání", u"Záloha - ukládání*",
        };
        return pick_(10) == 0 ? std::u16string(200 + pick_(120), u"ax "[pick_(3)])   // long, of one letter
                              : titles[pick_(sizeof titles / sizeof titles[0])];
    }
    // A title spelled from pieces, as far as an owner may have written it.
    std::u16string Spelled()
    {
        static const char16_t* const pieces[] = {
            u"Dokument", u"x", u" ", u"* ", u" * ", u" *", u"Po", u"Úterý", u" - ", u"8.12.2026", u"10:00:00",
            u" - 1.1.2000 - 10:00:00 *", u"Za 00:10:00", u" Za 05:10:00  ", u"hotovo", u"🙂", u"Čaj", u"  ",
        };
        std::u16string title;
        for (unsigned n = 1 + pick_(7); n > 0; --n)
            title += pieces[pick_(sizeof pieces / sizeof pieces[0])];
        return OwnersMayWrite(title) ? title : Listed();
    }
    // The title as an earlier run left it: any day, date, time, name and
    // countdown (any note), in front or behind. (No countdown where two runs
    // decorated it, nor in front in a window that trims: it takes the space
    // telling one from a title beginning "Za". Where a window adds to every
    // text's end, a decoration behind ends before that, reading as a note or
    // an own title's space until learned: there one in front, no countdown.)
    std::u16string EarlierRun(const std::u16string& own, Alters alters, bool mayCount)
    {
        bool trims = alters == Alters::Trims, suffix = alters == Alters::Suffix;
        static const char* const days[] = { "Pond\xEC" "l\xED", "\xDAter\xFD", "Sobota", "Pondeli", "?ter?" };
        static const char* const names[] = { "Ji\xF8\xED", "", "Ambro\x9E a Benjam\xEDn", "Mikul\xE1\x9A" };
        const char* day = days[pick_(5)];
        int date = 1 + pick_(31), month = 1 + pick_(12), year = 2020 + pick_(10), hour = pick_(24), minute = pick_(60);
        char clock[80], remaining[16];
        FormatClock(clock, sizeof clock, day, date, month, year, hour, minute, pick_(60), earlierSeconds_);
        const char* name = names[pick_(4)];
        static const char16_t* const notes[] = { u"Čaj", u"", u"   " };
        bool front = pick_(2) == 0 || suffix, countdown = pick_(2) == 0 && mayCount && !(front && trims) && !suffix;
        // (No empty or blank note behind in a window that trims, which trims it
        // with its two spaces, nor in front of an own title beginning like a
        // clock text, which its " * " would glue into one.)
        const char16_t* note = notes[(trims && !front) || (front && ClockEnd(own, 0, "D") != npos) ? 0 : pick_(3)];
        if (countdown)
            FormatTimeString(remaining, sizeof remaining, static_cast<int>(pick_(24)), 10, 0);
        std::u16string title;
        ComposeTitle(title, own, { clock, name, countdown ? remaining : nullptr, note, front });
        return title;
    }

    // Free owners get busy, slow or hung; the others are done and free. (Not a
    // counting window's: a count on a late text would pass for its owner's mark.)
    void ChangeOwner(ModelWindow* w)
    {
        if (!w || w->alters == Alters::Counts)
            return;
        if (w->owner == Owner::Free)
            w->owner = static_cast<Owner>(1 + pick_(3));
        else
            Relax(*w);
        Trace("window " + std::to_string(w->id) + " owner " + std::to_string(static_cast<int>(w->owner)));
    }
    // Its owner is done with what it was busy with, and free.
    void Relax(ModelWindow& w)
    {
        w.owner = Owner::Free;
        if (w.hasInFlight)
            Deliver(w, w.inFlight), w.late = true, w.hasInFlight = false;
    }
    void SwitchFront()
    {
        unsigned choice = pick_(static_cast<unsigned>(windows_.size()) + 1);
        front_ = choice < windows_.size() ? windows_[choice].id : 0;
        Trace("front " + std::to_string(front_));
    }
    // A window of a kind picked, or a hostile one: its title is longer than the
    // clock reads, or holds hundreds of clock texts (anyone can predict them).
    void Open(bool hostile = false)
    {
        if (windows_.size() >= 18)
            return;
        ModelWindow& w = windows_.emplace_back();
        w.id = nextId_++;
        if (hostile) {
            bool over = pick_(2) == 0;
            w.title = w.own = over ? std::u16string(maxTitleLength + 1, u'x') : u"x";
            std::u16string copy;
            char clock[80];
            FormatClock(clock, sizeof clock, "Pond\xEC" "l\xED", 7, 12, 2026, 10, 0, 0);
            ComposeTitle(copy, u"", { clock, "Ambro\x9E a Benjam\xEDn", nullptr, u"", false });
            for (int copies = 0; copies < 100 && !over; ++copies)
                w.title += copy;
            Trace("hostile window " + std::to_string(w.id));
            return;
        }
        w.alters = static_cast<Alters>(pick_(static_cast<unsigned>(Alters::Count)));
        Trace("window " + std::to_string(w.id) + " opens, alters " + std::to_string(static_cast<int>(w.alters)));
        Rename(&w, false);
    }
    void Close(ModelWindow* w)
    {
        if (w) {
            Trace("window " + std::to_string(w->id) + " closed");
            front_ = front_ == w->id ? 0 : front_;
            windows_.erase(windows_.begin() + (w - windows_.data()));
        }
    }

    ModelWindow* Find(WindowId id)
    {
        auto w = std::find_if(windows_.begin(), windows_.end(), [id](const ModelWindow& w) { return w.id == id; });
        return w == windows_.end() ? nullptr : &*w;
    }
    ModelWindow* Some() { return windows_.empty() ? nullptr : &windows_[pick_(static_cast<unsigned>(windows_.size()))]; }

    static std::string Show(const ModelWindow& w)
    {
        return std::to_string(w.id) + " (alters " + std::to_string(static_cast<int>(w.alters)) + ", owner "
             + std::to_string(static_cast<int>(w.owner)) + ") " + Readable(w.title.substr(0, 300));
    }
    void Trace(const std::string& what) const
    {
        if (trace_)
            std::fprintf(stderr, "%s\n", what.c_str());
    }
    void Fail(const std::string& what)
    {
        if (failure_.empty())
            failure_ = what + "\nledger:" + Ledger("\n  ");
    }
    std::string Ledger(const std::string& line) const
    {
        std::string text;
        for (const TitleEntry& e : ledger_.entries)
            text += line + std::to_string(e.window) + " own " + Readable(e.own) + " adds " + Readable(e.addsBefore)
                  + Readable(e.addsAfter) + (e.hold == Hold::Waiting ? " waiting" : "") + " cuts " + std::to_string(e.cutsAt)
                  + " shows " + Readable(e.written[0].text.substr(0, 300));
        return text;
    }

    std::function<unsigned(unsigned)> pick_;
    bool trace_;
    TitleAccess access_{ Read, Write, Answers, this };
    TitleLedger ledger_;
    std::vector<ModelWindow> windows_;
    WindowId nextId_ = 1, front_ = 0;
    bool before_ = false, countdown_ = false, ownerActed_ = false, exiting_ = false;
    bool seconds_ = true, earlierSeconds_ = true;
    unsigned day_ = 0, note_ = 0, second_ = 36000, form_ = 0;
    static constexpr const char16_t* notes_[5] = { u"Čaj o páté", u"Porada * 10:00 * sál", u"", u"🙂 Oběd", u"   " };
    size_t ticks_ = 0;
    std::string failure_;
};

// A desktop whose draws are the bytes given, each within the draw's range (0
// once they run out), and the exit after the last: the rule it broke, if any.
inline std::string ReplayDesktop(const unsigned char* data, size_t size, bool trace = false)
{
    size_t at = 0;
    TitleWorld world([&](unsigned n) { return at < size ? data[at++] % n : 0u; }, trace);
    while (at < size && world.Step()) {}
    return world.failure().empty() && world.Finish() ? "" : world.failure();
}

}  // namespace testsupport

#endif
