// The titles of other programs' windows (UTF-16): what the clock writes into
// them, and how each gets exactly its own title back.
// - A window's own title is what it shows without whole decorations.
// - While it shows the text written last as a window may, its own title
//   stays; after a write not answered in time nothing is written until its
//   owner answers (on Windows it was cancelled, or completes later).
// - A window that left the front is written its own title until it shows it;
//   one that refuses writes (run as administrator) or is gone is let go.
// - At most maxWindows are kept, and no new window decorated beyond them.
//   Titles longer than maxTitleLength are not read, nor decorated beyond it.
#ifndef TIKAVO_TITLELEDGER_H
#define TIKAVO_TITLELEDGER_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What the tick decorates the window in front with: Windows-1250 texts, and
// the countdown's note as typed.
struct TitleParts {
    const char* clock;
    const char* name;
    const char* remaining;   // nullptr while no countdown runs
    const char16_t* note;
    bool before;             // the clock in front of the own title
};

// A text written into a window, where the own title lies in it, and what the
// window showed for it right after (empty: not read).
struct WrittenText {
    std::u16string text, shown;
    size_t ownAt = 0, ownLength = 0;
};

// The decorated title, into out; returns where the own title lies in it.
size_t ComposeTitle(std::u16string& out, std::u16string_view own, const TitleParts& parts);
// The title without its whole decorations, into own; written are the last
// two texts written into the window. True when it held one of them.
bool Undecorate(std::u16string_view title, const WrittenText (&written)[2], std::u16string& own);

using WindowId = std::uintptr_t;   // a window's handle as a number; 0 is none
constexpr size_t maxWindows = 16, maxTitleLength = 32766;
enum class WriteAnswer { Answered, Pending, Refused, Gone };

struct TitleAccess {
    bool (*read)(void* context, WindowId window, std::u16string& title);   // false: gone, or too long
    WriteAnswer (*write)(void* context, WindowId window, const char16_t* text);
    // Whether its owner has handled all sent to it, or it is gone (patient at exit).
    bool (*answers)(void* context, WindowId window, bool patient);
    void* context;
};

// Decorated in front, waiting for its owner to answer a write, or given its title back.
enum class Hold { Decorated, Waiting, GivingBack };

struct TitleEntry {
    WindowId window = 0;
    Hold hold = Hold::Decorated;
    std::u16string own, seen;               // its own title, and the title it was taken from
    std::u16string addsBefore, addsAfter;   // what it adds to every text
    size_t cutsAt = 0;                      // the length it was seen to cut a title to
    WrittenText written[2];                 // the last two texts written into it
};

struct TitleLedger {
    WindowId front = 0;
    std::vector<TitleEntry> entries;   // the window in front, and those owed their titles
    std::u16string title, text;        // rooms for a title read and one composed
};

// Follows the window in front (0: none); gives the others their titles back (patient: at exit).
void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front, bool patient = false);
// Decorates the window in front.
void DecorateFront(TitleLedger& ledger, const TitleAccess& access, const TitleParts& parts);
// At exit: every window is given its own title back, and the ledger emptied.
void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access);

#endif
