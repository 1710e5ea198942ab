// The titles of other programs' windows and what the clock writes into them.
// Titles are UTF-16, whatever they contain; the program's own Windows-1250
// texts are widened where they meet a title.
#ifndef TIKAVO_TITLETEXT_H
#define TIKAVO_TITLETEXT_H

#include <cstddef>
#include <string>

#include "titleclock/titleledger.h"

// Room for a decorated title with its terminator; a longer decoration is cut.
constexpr size_t titleCapacity = 1000;

// The title read from the foreground window on this tick, whole.
extern std::u16string windowTitle;
// The tracked window's own title, without decoration, whole.
extern std::u16string savedTitle;
// The decorated title composed last.
extern char16_t composedTitle[titleCapacity];
// Its length in UTF-16 units.
extern size_t composedLength;

// Windows-1250 text as UTF-16.
std::u16string WidenCp1250(const char* text);

// Composes the decorated title into out (capacity characters with the
// terminator) from the own title, the clock text, today's name and, while a
// countdown runs, its remaining time and note. Behind the own title (before
// false) or in front of it. A composition that does not fit is cut, never
// inside a character that takes two UTF-16 units. Returns its length; where
// the own title and the clock text lie in it goes to *layout.
size_t ComposeTitle(char16_t* out, size_t capacity, const std::u16string& ownTitle,
                    const char* clock, const char* name, bool countdown, bool before,
                    const char* remaining, const char16_t* note, TitleLayout* layout = nullptr);

#endif
