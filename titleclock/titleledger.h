// The titles of other programs' windows: what the clock writes into them,
// and how each of them gets exactly its own title back. Titles are UTF-16
// whatever they hold; the program's Windows-1250 texts are widened.
//
// Every clock text has the shape "  * <day> - D.M.YYYY - HH:MM:SS * ": its
// part from " - " on is ASCII, which no code page alters, and its day one
// word, which one may alter letter for letter. A title that carries that
// shape is decorated, by this run or an earlier one; the whole decoration is
// the clock text, the name up to " *" and, for a countdown, " Za HH:MM:SS"
// with its note, in either placement.
//
// The rules:
// - A window's own title is its title with every decoration taken out, as
//   the window shows it: what counts is what it shows, read after a write.
// - While a window shows one of the texts written into it last, in a form a
//   window may give it (letter for letter in another code page, cut short,
//   trimmed, or with what it adds to every text), its own title stays;
//   anything else in it its owner set.
// - A window that adds something in front of or behind every text (its
//   owner's titles carry it too) is written texts without it.
// - A write not answered in time may still arrive (its owner took it and is
//   slow) or never will (it was cancelled): nothing more is written into
//   that window until its owner answers, which tells that it is over.
// - A window that left the front is given its own title back until it shows
//   it with no write under way; one that refuses writes (a program run as
//   administrator) or is gone is let go at once.
// - At most maxWindows windows are kept; while that many wait for their
//   titles, a new window in front is not decorated. Titles longer than
//   maxTitleLength are not read, and such windows are not decorated.
// The system's side comes in through TitleAccess, so the same rules run
// against real windows and against a model of them.
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

// The decorated title, into out; returns where the own title lies in it.
size_t ComposeTitle(std::u16string& out, std::u16string_view own, const TitleParts& parts);

// The names and notes of the last two decorations, the last first: they
// tell where one ends.
struct KnownParts {
    std::u16string names[2], notes[2];
};

// The title with every decoration taken out, into own.
void Undecorate(std::u16string_view title, const KnownParts& known, std::u16string& own);

// Whether shown[at...] is text as a window may show it: the same wherever
// text has a character from ASCII.
bool Resembles(std::u16string_view shown, size_t at, std::u16string_view text);

// A window, as its handle turned into a number; 0 is no window.
using WindowId = std::uintptr_t;

constexpr size_t maxWindows = 16;
constexpr size_t maxTitleLength = 32766;

enum class WriteAnswer { Answered, Pending, Refused, Gone };

struct TitleAccess {
    // The window's whole title; false when it is gone or its title is
    // longer than maxTitleLength.
    bool (*read)(void* context, WindowId window, std::u16string& title);
    WriteAnswer (*write)(void* context, WindowId window, const char16_t* text);
    // Whether its owner has handled everything sent to it (patient at exit).
    bool (*answers)(void* context, WindowId window, bool patient);
    void* context;
};

// A text written into a window, and where the own title lies in it.
struct WrittenText {
    std::u16string text;
    size_t ownAt = 0, ownLength = 0;
};

struct TitleEntry {
    WindowId window = 0;
    std::u16string own, seen;               // its own title, and the title it was taken from
    std::u16string addsBefore, addsAfter;   // what it adds to every text
    WrittenText written[2];                 // the last two texts written into it
    KnownParts known;                       // of the last two decorations
    bool pending = false;                   // the last write is not answered yet
};

struct TitleLedger {
    WindowId front = 0;
    std::vector<TitleEntry> entries;   // the window in front, and those owed their titles
    std::u16string title, text;        // scratch, their room reused
};

// Tick step 1: follows the window in front (0 for none); every other window
// is given its own title back where it still needs it.
void FollowFront(TitleLedger& ledger, const TitleAccess& access, WindowId front);
// Tick step 8: decorates the window in front.
void DecorateFront(TitleLedger& ledger, const TitleAccess& access, const TitleParts& parts);
// At exit: every window is given its own title back, and the ledger emptied.
void GiveAllTitlesBack(TitleLedger& ledger, const TitleAccess& access);

#endif
