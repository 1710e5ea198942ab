#include "titleclock/titletext.h"

#include <algorithm>

std::u16string windowTitle;
std::u16string savedTitle;
char16_t composedTitle[titleCapacity];
size_t composedLength = 0;
std::u16string writtenClockText;
std::vector<Decoration> pendingTitles;

namespace {
// Windows-1250 bytes 0x80 to 0xFF; the five unassigned bytes stand for the
// control characters of the same number, as Windows maps them.
const char16_t cp1250High[128] = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

char16_t WidenByte(char c)
{
    unsigned char byte = static_cast<unsigned char>(c);
    return byte < 0x80 ? static_cast<char16_t>(byte) : cp1250High[byte - 0x80];
}

// Writes a composition into a fixed buffer, cutting what does not fit; the
// tick composes a title every second, so nothing is allocated on the way.
struct TitleWriter {
    char16_t* out;
    size_t length;
    size_t limit;   // capacity less the terminator
    bool cut;

    void Wide(const std::u16string& text)
    {
        size_t n = std::min(text.size(), limit - length);
        std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n), out + length);
        length += n;
        cut = cut || n < text.size();
    }
    void Narrow(const char* text)
    {
        for (; *text; ++text) {
            if (length == limit) {
                cut = true;
                return;
            }
            out[length++] = WidenByte(*text);
        }
    }
};
}  // namespace

void WidenCp1250Into(const char* text, std::u16string& wide)
{
    size_t length = 0;
    while (text[length])
        ++length;
    wide.resize(length);
    for (size_t i = 0; i < length; ++i)
        wide[i] = WidenByte(text[i]);
}

std::u16string WidenCp1250(const char* text)
{
    std::u16string wide;
    WidenCp1250Into(text, wide);
    return wide;
}

size_t ComposeTitle(char16_t* out, size_t capacity, const std::u16string& ownTitle,
                    const char* clock, const char* name, bool countdown, bool before,
                    const char* remaining, const char* note)
{
    if (capacity == 0)
        return 0;
    TitleWriter w{ out, 0, capacity - 1, false };
    if (!countdown && !before) {          // "%s%s%s *"
        w.Wide(ownTitle); w.Narrow(clock); w.Narrow(name); w.Narrow(" *");
    } else if (!countdown) {              // "%s%s * %s"
        w.Narrow(clock); w.Narrow(name); w.Narrow(" * "); w.Wide(ownTitle);
    } else if (!before) {                 // "%s%s%s * Za %s  %s"
        w.Wide(ownTitle); w.Narrow(clock); w.Narrow(name); w.Narrow(" * Za ");
        w.Narrow(remaining); w.Narrow("  "); w.Narrow(note);
    } else {                              // "%s%s * Za %s %s * %s "
        w.Narrow(clock); w.Narrow(name); w.Narrow(" * Za "); w.Narrow(remaining);
        w.Narrow(" "); w.Narrow(note); w.Narrow(" * "); w.Wide(ownTitle); w.Narrow(" ");
    }
    if (w.cut && w.length > 0 && IsHighSurrogate(out[w.length - 1]))
        --w.length;   // do not leave half of a character behind
    out[w.length] = u'\0';
    return w.length;
}

std::u16string OwnTitleOf(const std::u16string& title, const std::u16string& ownTitle,
                          const std::vector<Decoration>& written)
{
    if (!title.empty())
        for (const Decoration& d : written)
            if (title == d.title)
                return ownTitle;
    for (const Decoration& d : written) {
        if (d.clock.empty())
            continue;
        size_t at = title.find(d.clock);
        if (at != std::u16string::npos)
            return title.substr(0, at) + title.substr(at + d.clock.size());
    }
    return title;
}
