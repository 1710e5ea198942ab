// Building the tick's short texts in fixed buffers: what snprintf writes for
// "%s", "%d", "%2d" and "%02d", at a fraction of its cost. The tick formats
// several texts every second, all day long.
//
// Each call writes at *p and advances it, never past end, the last character
// of the buffer that text may use (the buffer's size less one, kept for the
// terminator); TextEnd writes the terminator. A text that does not fit is cut
// as snprintf would cut it.
#ifndef TIKAVO_TEXTPUT_H
#define TIKAVO_TEXTPUT_H

#include <cstddef>

inline void PutChar(char*& p, const char* end, char c)
{
    if (p < end)
        *p++ = c;
}

inline void PutText(char*& p, const char* end, const char* text)
{
    while (*text && p < end)
        *p++ = *text++;
}

// A decimal number at least width characters wide, padded in front with
// spaces (pad ' ', as "%2d") or after the sign with zeros (pad '0', as "%02d").
inline void PutNumber(char*& p, const char* end, long value, int width = 0, char pad = ' ')
{
    // The tick's usual case: a field of two digits.
    if (value >= 10 && value < 100 && width <= 2 && end - p >= 2) {
        *p++ = static_cast<char>('0' + value / 10);
        *p++ = static_cast<char>('0' + value % 10);
        return;
    }
    char digits[24];
    int count = 0;
    unsigned long magnitude = value < 0 ? 0ul - static_cast<unsigned long>(value)
                                        : static_cast<unsigned long>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    int length = count + (value < 0 ? 1 : 0);
    if (pad == ' ')
        for (int i = length; i < width; ++i)
            PutChar(p, end, ' ');
    if (value < 0)
        PutChar(p, end, '-');
    if (pad == '0')
        for (int i = length; i < width; ++i)
            PutChar(p, end, '0');
    while (count > 0)
        PutChar(p, end, digits[--count]);
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

// Reads a number as atoi does: leading blanks, a sign, then digits up to the
// first character that is not one; no digits give 0. Values beyond int's
// range are held at its ends.
inline int ReadNumber(const char* text)
{
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    while (*text >= '0' && *text <= '9') {
        if (value < 2147483648LL)
            value = value * 10 + (*text - '0');
        ++text;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        value = 2147483647LL;
    if (value < -2147483648LL)
        value = -2147483648LL;
    return static_cast<int>(value);
}

#endif
