// The decorated title and the decoration's shape. Titles are UTF-16,
// whatever they contain; the program's own Windows-1250 texts are widened
// where they meet a title.
//
// Every clock text has the shape "  * <day> - D.M.YYYY - HH:MM:SS * ". Its
// part from the first " - " on is ASCII, which no code page alters, and the
// day is one word, which a code page may alter letter for letter: so the
// shape is found in any window, whether this run or an earlier one wrote it.
// The whole decoration is the clock text, the name up to " *" and, while a
// countdown runs, " Za HH:MM:SS" with its note, in either placement.
#ifndef TIKAVO_TITLETEXT_H
#define TIKAVO_TITLETEXT_H

#include <cstddef>
#include <string>
#include <string_view>

// What the tick decorates the window in front with: Windows-1250 texts, and
// the countdown's note as typed.
struct TitleParts {
    const char* clock;
    const char* name;
    const char* remaining;   // nullptr while no countdown runs
    const char16_t* note;
    bool before;             // the clock in front of the own title
};

// Composes the decorated title into out: the own title, the clock text,
// today's name and the countdown, behind or in front of the own title.
// Returns where the own title lies in it.
size_t ComposeTitle(std::u16string& out, std::u16string_view own, const TitleParts& parts);

// This run's name and note as a decoration carries them: they tell where
// it ends.
struct KnownParts {
    std::u16string name, note;
};

// The title with every decoration taken out, into own.
void Undecorate(std::u16string_view title, const KnownParts& known, std::u16string& own);

// Whether shown[at...] is text as a window may show it: the same length,
// and the same character wherever text has one from ASCII.
bool Resembles(std::u16string_view shown, size_t at, std::u16string_view text);

// Windows-1250 text as UTF-16, appended to out, or whole.
void AppendCp1250(std::u16string& out, const char* text);
std::u16string WidenCp1250(const char* text);

#endif
