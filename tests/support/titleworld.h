// A model desktop for the title ledger's tests and its fuzzer: windows that
// keep, cut, extend or re-encode the titles they are given, owners that
// rename them, stop answering and answer late (or never), and the clock
// that decorates the window in front through the same ledger calls as the
// program's tick, ticks run inside its own title writes included.
//
// The rules it checks after every event:
// - no title ever shows two clock texts;
// - a window the ledger has settled shows exactly its own title (the title
//   its owner set last, as the window shows it), also once everything sent
//   to it has arrived;
// - the own title the clock works out for the window in front is that one;
// - after the exit command every window shows its own title.
#ifndef TIKAVO_TESTS_TITLEWORLD_H
#define TIKAVO_TESTS_TITLEWORLD_H

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "titleclock/clocktext.h"
#include "titleclock/titleledger.h"
#include "titleclock/titletext.h"

namespace testsupport {

// How a window changes a text it is given.
enum class Alters { Nothing, CodePage, Cap60, Suffix, Trims, Ignores, Count };

// What an ANSI window shows under code page 1252: letters it lacks become
// their base letter or a question mark, one character for one.
inline char16_t Cp1252Shows(char16_t c)
{
    static const std::u16string kept = u"ŠšŽžŒœŸ€‚ƒ„…†‡ˆ‰‹‘’“”•–—˜™›";
    static const std::u16string from = u"ěščřžýáíéůúďťňĚŠČŘŽÝÁÍÉŮÚĎŤŇ";
    static const std::u16string to = u"escrzyaieuudtnESCRZYAIEUUDTN";
    if (c < 0x100 || kept.find(c) != std::u16string::npos)
        return c;
    size_t at = from.find(c);
    return at != std::u16string::npos ? to[at] : u'?';
}

// A title readable in a failure message: non-ASCII as \uXXXX, in brackets.
inline std::string Readable(const std::u16string& text)
{
    std::string out = "[";
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char part[10];
            std::snprintf(part, sizeof part, "\\u%04X", static_cast<unsigned>(c));
            out += part;
        }
    }
    return out + "]";
}

inline std::u16string ShownBy(Alters alters, const std::u16string& text)
{
    switch (alters) {
    case Alters::CodePage: {
        std::u16string shown = text;
        for (char16_t& c : shown)
            c = Cp1252Shows(c);
        return shown;
    }
    case Alters::Cap60:
        return text.substr(0, 60);
    case Alters::Suffix:
        return text + u" - Editor";
    case Alters::Trims: {
        size_t begin = text.find_first_not_of(u' ');
        if (begin == std::u16string::npos)
            return u"";
        return text.substr(begin, text.find_last_not_of(u' ') + 1 - begin);
    }
    default:
        return text;
    }
}

struct ModelWindow {
    WindowId id = 0;
    Alters alters = Alters::Nothing;
    bool alive = true;
    bool hung = false;                    // its owner does not answer
    std::u16string title;                 // what it shows
    std::u16string ownerTitle;            // what it shows of the title its owner set last
    std::vector<std::u16string> queued;   // texts sent while it did not answer, in order
};

class TitleWorld {
public:
    // pick(n) gives a number below n; the events follow from it.
    explicit TitleWorld(std::function<unsigned(unsigned)> pick) : pick_(std::move(pick))
    {
        access_ = TitleAccess{ Exists, Read, Write, this };
        AddWindow();
        AddWindow();
    }

    // One event; false once a rule is broken (see failure()).
    bool Step()
    {
        unsigned event = pick_(100);
        if (event < 45) {
            Tick();
        } else if (event < 60) {
            SwitchFront();
        } else if (event < 70) {
            Rename(Some());
        } else if (event < 78) {
            ModelWindow* w = Some();
            if (w && !w->hung) {
                w->hung = true;
                Note("window " + std::to_string(w->id) + " stops answering");
            }
            else if (w)
                Wake(*w, pick_(2) == 0);
        } else if (event < 82) {
            AddWindow();
        } else if (event < 85) {
            Destroy(Some());
        } else if (event < 90) {
            before_ = !before_;
        } else if (event < 95) {
            countdown_ = !countdown_;
        } else {
            nestInWrites_ = pick_(3) == 0;
        }
        if (failure_.empty())
            CheckSettled();
        return failure_.empty();
    }

    // The exit command, then every owner answers what was sent to it. An
    // owner that did not answer the exit's writes either: its window shows
    // no clock text, and its own title unless it adds to every text (which
    // the program could not learn from a window that never answered).
    bool Finish()
    {
        Note("exit");
        GiveAllTitlesBack(ledger_, access_);
        for (ModelWindow& w : windows_) {
            if (!w.alive)
                continue;
            bool hung = w.hung;
            Wake(w, true);
            bool own = w.title == w.ownerTitle
                    || (hung && w.alters == Alters::Suffix && w.title.find(dateMark) == std::u16string::npos
                        && w.title.compare(0, w.ownerTitle.size(), w.ownerTitle) == 0);
            if (!own)
                Fail("after the exit window " + Show(w) + " does not show its own title " + Readable(w.ownerTitle));
        }
        return failure_.empty();
    }

    const std::string& failure() const { return failure_; }
    size_t ticks() const { return ticks_; }

private:
    static bool Exists(void* self, WindowId id) { return static_cast<TitleWorld*>(self)->Find(id) != nullptr; }
    static void Read(void* self, WindowId id, std::u16string& title)
    {
        ModelWindow* w = static_cast<TitleWorld*>(self)->Find(id);
        if (w)
            title = w->title;
        else
            title.clear();
    }
    static WriteAnswer Write(void* self, WindowId id, const char16_t* text)
    {
        return static_cast<TitleWorld*>(self)->Written(id, text);
    }

    WriteAnswer Written(WindowId id, const char16_t* text)
    {
        // A tick run while the write waits (as a thread that handles other
        // messages meanwhile would): the rules must stay right.
        if (nestInWrites_ && depth_ == 1 && pick_(4) == 0) {
            SwitchFront();
            Tick();
        }
        ModelWindow* w = Find(id);
        Note("  write " + std::to_string(id) + " " + Readable(text) + (!w ? " gone" : w->hung ? " unanswered" : ""));
        if (!w)
            return WriteAnswer::Gone;
        if (w->hung) {
            w->queued.push_back(text);
            return WriteAnswer::Unanswered;
        }
        Show(*w, text);
        return WriteAnswer::Answered;
    }

    void Show(ModelWindow& w, const std::u16string& text)
    {
        if (w.alters == Alters::Ignores)
            return;
        w.title = ShownBy(w.alters, text);
        size_t clocks = 0;
        for (size_t at = w.title.find(dateMark); at != std::u16string::npos; at = w.title.find(dateMark, at + 1))
            ++clocks;
        if (clocks > 1)
            Fail("window " + Show(w) + " shows two clock texts");
    }

    void Tick()
    {
        ++depth_;
        ++ticks_;
        ++second_;
        WindowId front = front_;
        Note("tick " + std::to_string(second_) + (depth_ > 1 ? " inside a write" : ""));
        std::u16string shown, own;
        FollowFront(ledger_, access_, front, shown, own);
        ModelWindow* w = Find(front);
        if (w && !w->hung && w->queued.empty() && own != w->ownerTitle && failure_.empty())
            Fail("own title of the window in front " + Show(*w) + " worked out as " + Readable(own)
                 + ", not " + Readable(w->ownerTitle));
        if (front != 0) {
            char clock[80];
            FormatClock(clock, sizeof clock, "Pond\xEC" "l\xED", 7, 12, 2026,
                        10 + second_ / 3600 % 12, second_ / 60 % 60, second_ % 60);
            char16_t composition[titleCapacity];
            TitleLayout layout;
            ComposeTitle(composition, titleCapacity, own, clock, "Ambro\x9E a Benjam\xEDn", countdown_, before_,
                         "00:04:59", u"Čaj o páté", &layout);
            WriteDecoration(ledger_, access_, front, composition, layout);
        }
        --depth_;
    }

    void SwitchFront()
    {
        std::vector<WindowId> live;
        for (const ModelWindow& w : windows_)
            if (w.alive)
                live.push_back(w.id);
        unsigned choice = pick_(static_cast<unsigned>(live.size()) + 1);
        front_ = choice < live.size() ? live[choice] : 0;
        Note("front " + std::to_string(front_));
    }

    void Rename(ModelWindow* w)
    {
        if (!w || w->hung)
            return;
        static const std::u16string titles[] = {
            u"Dokument", u"Dopis", u"Zprávy 🙂 — Новости", u"Čtvrtletní zpráva.docx - Word", u"",
            u"  mezery kolem  ", u"Velmi dlouhý název dokumentu, který se do titulku nevejde celý, ani s rezervou",
            u"Dokument  * ", u"* Ukázka *", u"Ambrož a Benjamín *",
        };
        std::u16string raw = titles[pick_(sizeof titles / sizeof titles[0])];
        if (pick_(2))
            raw += u" (" + std::u16string(1, static_cast<char16_t>(u'1' + pick_(9))) + u")";
        Note("window " + std::to_string(w->id) + " renamed " + Readable(raw));
        w->ownerTitle = ShownBy(w->alters, raw);
        if (w->alters == Alters::Ignores)
            w->title = w->ownerTitle;   // its owner's own text does arrive
        else
            Show(*w, raw);
    }

    void Wake(ModelWindow& w, bool deliver)
    {
        Note("window " + std::to_string(w.id) + (deliver ? " answers" : " drops what it was sent"));
        w.hung = false;
        std::vector<std::u16string> queued;
        queued.swap(w.queued);
        if (deliver)
            for (const std::u16string& text : queued)
                Show(w, text);
    }

    void AddWindow()
    {
        if (Live() >= 5)
            return;
        ModelWindow w;
        w.id = nextId_++;
        w.alters = static_cast<Alters>(pick_(static_cast<unsigned>(Alters::Count)));
        windows_.push_back(w);
        Note("window " + std::to_string(w.id) + " opens, alters " + std::to_string(static_cast<int>(w.alters)));
        Rename(&windows_.back());
    }

    void Destroy(ModelWindow* w)
    {
        if (!w)
            return;
        Note("window " + std::to_string(w->id) + " closed");
        w->alive = false;
        if (front_ == w->id)
            front_ = 0;
    }

    // A window the ledger has settled shows its own title, now and once all
    // that was sent to it has arrived.
    void CheckSettled()
    {
        for (const ModelWindow& w : windows_) {
            if (!w.alive || ledger_.Find(w.id) || !failure_.empty())
                continue;
            std::u16string final = w.title;
            if (w.alters != Alters::Ignores)
                for (const std::u16string& text : w.queued)
                    final = ShownBy(w.alters, text);
            if (w.title != w.ownerTitle || final != w.ownerTitle)
                Fail("window " + Show(w) + " is settled but shows " + Readable(w.title) + " (finally "
                     + Readable(final) + "), not its own title " + Readable(w.ownerTitle));
        }
    }

    ModelWindow* Find(WindowId id)
    {
        for (ModelWindow& w : windows_)
            if (w.id == id && w.alive)
                return &w;
        return nullptr;
    }
    ModelWindow* Some()
    {
        std::vector<ModelWindow*> live;
        for (ModelWindow& w : windows_)
            if (w.alive)
                live.push_back(&w);
        return live.empty() ? nullptr : live[pick_(static_cast<unsigned>(live.size()))];
    }
    size_t Live() const
    {
        return static_cast<size_t>(std::count_if(windows_.begin(), windows_.end(),
                                                 [](const ModelWindow& w) { return w.alive; }));
    }

    static std::string Show(const ModelWindow& w)
    {
        return std::to_string(w.id) + " (alters " + std::to_string(static_cast<int>(w.alters)) + ") "
             + Readable(w.title);
    }
    void Note(const std::string& what)
    {
        history_.push_back(what);
        if (history_.size() > 400)
            history_.erase(history_.begin());
    }
    void Fail(const std::string& what)
    {
        if (!failure_.empty())
            return;
        failure_ = what + "\nledger:";
        for (const LedgerEntry& e : ledger_.entries) {
            failure_ += "\n  window " + std::to_string(e.window) + (e.tracked ? " (in front)" : "") + " own "
                      + Readable(e.own) + (e.decorated ? ", shows " + Readable(e.lastShown) : "") + ", alteration "
                      + Readable(e.alteration.prefix) + "+" + Readable(e.alteration.suffix) + " cap "
                      + std::to_string(e.alteration.cap) + (e.alteration.trims ? " trims" : "");
            for (const WrittenTitle& w : e.unanswered)
                failure_ += "\n    unanswered " + Readable(w.text) + (w.giveBack ? " (given back)" : "");
        }
        failure_ += "\nlast events:";
        for (const std::string& h : history_)
            failure_ += "\n  " + h;
    }

    static constexpr const char16_t* dateMark = u" - 7.12.2026 - ";
    std::function<unsigned(unsigned)> pick_;
    TitleAccess access_{};
    TitleLedger ledger_;
    std::vector<ModelWindow> windows_;
    WindowId nextId_ = 1;
    WindowId front_ = 0;
    bool before_ = false;
    bool countdown_ = false;
    bool nestInWrites_ = false;
    int depth_ = 0;
    unsigned second_ = 0;
    size_t ticks_ = 0;
    std::vector<std::string> history_;
    std::string failure_;
};

}  // namespace testsupport

#endif
