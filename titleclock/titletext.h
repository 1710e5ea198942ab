// The titles of other programs' windows: what the clock writes into them and
// how a window's own title is told apart from the decoration. Titles are
// UTF-16, whatever they contain; the program's own Windows-1250 texts are
// widened where they meet a title.
#ifndef TIKAVO_TITLETEXT_H
#define TIKAVO_TITLETEXT_H

#include <cstddef>
#include <string>
#include <vector>

// Room for a decorated title with its terminator; a longer decoration is cut.
constexpr size_t titleCapacity = 1000;

// A decorated title written into a window, and the clock text inside it.
struct Decoration {
    std::u16string title;
    std::u16string clock;
};

// The title read from the foreground window on this tick, whole.
extern std::u16string windowTitle;
// The tracked window's own title, without decoration, whole.
extern std::u16string savedTitle;
// The decorated title last taken by a window.
extern char16_t composedTitle[titleCapacity];
// Its length in UTF-16 units.
extern size_t composedLength;
// The clock text inside composedTitle.
extern std::u16string writtenClockText;
// Decorated titles sent to the tracked window that it has not answered
// yet, oldest first: it may still show any of them once it answers.
extern std::vector<Decoration> pendingTitles;
// How many unanswered titles are remembered for one window.
constexpr size_t pendingLimit = 8;

// Windows-1250 text as UTF-16.
std::u16string WidenCp1250(const char* text);
// The same into an existing string, reusing its room.
void WidenCp1250Into(const char* text, std::u16string& wide);

// Composes the decorated title into out (capacity characters with the
// terminator) from the own title, the clock text, today's name and, while a
// countdown runs, its remaining time and note. Behind the own title (before
// false) or in front of it. A composition that does not fit is cut, never
// inside a character that takes two UTF-16 units. Returns its length.
size_t ComposeTitle(char16_t* out, size_t capacity, const std::u16string& ownTitle,
                  const char* clock, const char* name, bool countdown, bool before,
                  const char* remaining, const char* note);

// The own title of a window that now shows title, given its own title as the
// program last knew it and the decorations written into it (the last one
// taken first, then any unanswered ones). A title equal to one of them is
// the decoration and the own title stays; otherwise the first clock text
// that occurs in it is cut out at its first occurrence; otherwise the title
// is the window's own, whole.
std::u16string OwnTitleOf(const std::u16string& title, const std::u16string& ownTitle,
                          const std::vector<Decoration>& written);

#endif
