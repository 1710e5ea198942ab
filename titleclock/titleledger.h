// What the clock writes into other programs' windows, and how each of them
// gets exactly its own title back. The rules:
// - A window's own title is its title with every decoration taken out (see
//   titletext.h), written by this run or an earlier one, as the window shows
//   it: what counts is what a window shows, read back after each write.
// - While a window shows one of the last two decorations written, in a form
//   a window may give it (letter for letter in another code page, cut short,
//   trimmed at both ends, or with what it adds to every text), its own title
//   stays; anything else in it its owner set.
// - A window that adds something in front of or behind every text (its own
//   title begins or ends with it) is written texts without it.
// - A write not answered in time may still arrive (its owner took it and is
//   slow) or never will (it was cancelled): nothing more is written into
//   that window until its owner answers again, which tells that every
//   earlier write is over.
// - A window that left the front is given its own title back until it shows
//   it with no write under way. One that refuses writes (a program run as
//   administrator) or is gone is let go at once.
// - At most maxWindows windows are remembered; while that many still wait
//   for their titles, a new window in front is not decorated. Titles longer
//   than maxTitleLength are not read, and such windows are not decorated.
//
// The system's side (reading and writing titles) comes in through
// TitleAccess, so the same rules run against real windows and a model.
#ifndef TIKAVO_TITLELEDGER_H
#define TIKAVO_TITLELEDGER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "titleclock/titletext.h"

// A window, as its handle turned into a number; 0 is no window.
using WindowId = std::uintptr_t;

constexpr size_t maxWindows = 16;
constexpr size_t maxTitleLength = 32766;

enum class WriteAnswer {
    Answered,   // its owner handled the text: what it shows now counts
    Pending,    // no answer in time: the text may still arrive
    Refused,    // it never takes a text of ours
    Gone,
};

struct TitleAccess {
    // The window's whole title; false when it is gone or its title is
    // longer than maxTitleLength.
    bool (*read)(void* context, WindowId window, std::u16string& title);
    WriteAnswer (*write)(void* context, WindowId window, const char16_t* text);
    // Whether its owner has handled everything sent to it; patient at the
    // exit, when a slow owner is waited for a while.
    bool (*answers)(void* context, WindowId window, bool patient);
    void* context;
};

// A decoration written into a window, as the window would show it.
struct ShownText {
    std::u16string text;
    size_t bodyFrom = 0, bodyTo = 0;   // the text written, in it
    size_t ownFrom = 0, ownTo = 0;     // the own title, in that
};

struct TitleEntry {
    WindowId window = 0;
    std::u16string own;                     // its own title, as it shows it
    std::u16string seen;                    // the title it was taken from
    std::u16string addsBefore, addsAfter;   // what it adds to every text
    ShownText shows[2];                     // the last decoration written, and the one before
    std::u16string given;                   // its own title as written back since
    KnownParts known;                       // of the last decoration written into it
    bool pending = false;                   // a write it has not answered,
    bool pendingOwn = false;                // which gave its own title back
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
