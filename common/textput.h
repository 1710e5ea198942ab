// Building the tick's short texts in fixed buffers, cut as snprintf would cut
// them, at a fraction of its cost: the tick builds several texts every
// second, all day long. Numbers are written by std::to_chars.
//
// PutText and PutWritten write at *p and advance it, never past end, the
// last character of the buffer the text may use (the buffer's size less one,
// kept for the terminator); TextEnd writes the terminator.
#ifndef TIKAVO_TEXTPUT_H
#define TIKAVO_TEXTPUT_H

#include <cstddef>

inline void PutText(char*& p, const char* end, const char* text)
{
    while (*text && p < end)
        *p++ = *text++;
}

// The last character a text may use in a buffer of the given size.
inline const char* TextLimit(const char* buffer, std::size_t size)
{
    return buffer + size - 1;
}

inline void TextEnd(char* p)
{
    *p = '\0';
}

// Room for any int as std::to_chars writes it ("-2147483648").
constexpr std::size_t intChars = 11;

// A piece of at most room characters that write puts at a pointer and whose
// end it returns (numbers by std::to_chars): straight into the buffer when
// it fits whatever the numbers, otherwise through a scratch buffer and cut.
template <std::size_t room, typename Write>
void PutWritten(char*& p, const char* end, Write write)
{
    if (static_cast<std::size_t>(end - p) >= room) {
        p = write(p);
        return;
    }
    char scratch[room + 1];
    *write(scratch) = '\0';
    PutText(p, end, scratch);
}

#endif
