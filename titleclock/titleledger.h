// The title ledger: for every window the clock has written into, its own
// title and every decoration it may still show, until that window is
// settled (it shows its own title again, its owner has set a title of its
// own, or it is gone).
//
// What counts is what a window shows, read back after each write, never
// what was sent: a window may change the text it is given (an ANSI window
// keeps it in the system's code page, so "Pondělí" may come back as
// "Pondelí"; others cut a title short, add their own name to it or trim
// its spaces). The ledger learns how each window changes a text and
// recognises its decorations in the form the window shows them.
//
// The ledger decides what to write and what a window's own title is; the
// system's side (reading and writing titles) comes in through TitleAccess,
// so the same rules run against real windows and against a model of them.
#ifndef TIKAVO_TITLELEDGER_H
#define TIKAVO_TITLELEDGER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A window, as its handle turned into a number; 0 is no window.
using WindowId = std::uintptr_t;

// Where the parts of a decorated title lie in it.
struct TitleLayout {
    size_t length = 0;
    size_t ownAt = 0, ownLength = 0;       // the window's own title
    size_t clockAt = 0, clockLength = 0;   // the clock text
};

// How a window took a title written into it.
enum class WriteAnswer {
    Answered,     // its owner handled the text: what it shows now counts
    Unanswered,   // no answer in the time allowed: the text may still arrive
    Gone,         // the window no longer exists
};

// The system's side: reading a window's whole title without a message to
// its owner, and writing one with a time limit.
struct TitleAccess {
    bool (*exists)(void* context, WindowId window);
    void (*read)(void* context, WindowId window, std::u16string& title);
    WriteAnswer (*write)(void* context, WindowId window, const char16_t* text);
    void* context;
};

// How a window changes the text it is given, as last seen.
struct TitleAlteration {
    std::u16string prefix;   // put in front of the text
    std::u16string suffix;   // put behind it
    size_t cap = 0;          // the longest title it keeps; 0 when no cut was seen
    bool trims = false;      // spaces at both ends are dropped
};

// A text written into a window: a decoration, or its own title given back.
struct WrittenTitle {
    std::u16string text;
    TitleLayout layout;      // all 0 for an own title given back
    bool giveBack = false;
};

// What the ledger knows of one window.
struct LedgerEntry {
    WindowId window = 0;
    std::u16string own;                     // its own title
    bool tracked = false;                   // it is the window in front
    bool decorated = false;                 // it took a decoration since it was settled
    WrittenTitle last;                      // the decoration it took last
    bool showsOurs = false;                 // it answered a write that left it showing...
    std::u16string lastShown;               // ...this, not its own title
    std::vector<WrittenTitle> unanswered;   // written since, without an answer, oldest first
    TitleAlteration alteration;
    bool settled = false;                   // to be forgotten once no write is under way
};

// How many windows that left the front are remembered, and how many
// unanswered texts for one window.
constexpr size_t owedLimit = 8;
constexpr size_t unansweredLimit = 8;

struct TitleLedger {
    std::vector<LedgerEntry> entries;
    std::u16string scratch;   // titles read back, its room reused
    // Writes under way. A tick may run inside one (should its thread handle
    // other messages meanwhile): a window it settles is forgotten only once
    // every write is over, so what an earlier write leaves is still seen.
    int writing = 0;

    // The window now in front (0 for none); the one in front before is
    // owed its title from now on.
    void Front(WindowId window);
    // The own title of a tracked window that shows title.
    const std::u16string& Observe(WindowId window, const std::u16string& title);
    // A decoration (text, laid out as layout) was written into the window.
    void Decorated(WindowId window, const char16_t* text, const TitleLayout& layout,
                   WriteAnswer answer, const std::u16string& shown);
    // The windows owed their own titles.
    std::vector<WindowId> Owed() const;
    // What to write into an owed window that shows title to give it its own
    // title back; false (and the window is settled) when it needs nothing.
    bool GiveBack(WindowId window, const std::u16string& title, std::u16string& text);
    // The text was written to give the window its title back; true with a
    // better text to write at once when the window changed it.
    bool GaveBack(WindowId window, std::u16string& text, WriteAnswer answer,
                  const std::u16string& shown);
    void Forget(WindowId window);
    // Forgets the settled windows when no write is under way.
    void Sweep();
    LedgerEntry* Find(WindowId window);
};

// Tick step 1: follows the window in front (0 for none). Every window owed
// its title is given it back where it still needs it; the front window's
// title is read into shown and its own title worked out into own.
void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front,
                 std::u16string& shown, std::u16string& own);
// Tick step 8: writes a decoration into the window and records what it shows.
void WriteDecoration(TitleLedger& ledger, const TitleAccess& access, WindowId window,
                     const char16_t* text, const TitleLayout& layout);
// At exit: every window is given its own title back, and the ledger emptied.
void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access);

// Text rules the ledger is built on, exposed for their tests.
// Whether shown is what a window may show for sent, letter for letter: the
// same length, and the same character wherever sent has one from ASCII
// (a code page may change any other one).
bool Resembles(const char16_t* shown, const char16_t* sent, size_t length);
// The window's own title when it shows title.
std::u16string OwnTitleOf(LedgerEntry& entry, const std::u16string& title);

#endif
