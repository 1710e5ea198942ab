#include "titleclock/titletext.h"

#include <algorithm>

#include "common/cp1250.h"

std::u16string windowTitle;
std::u16string savedTitle;
char16_t composedTitle[titleCapacity];
size_t composedLength = 0;

namespace {
bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

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
    void Wide(const char16_t* text)
    {
        for (; *text; ++text) {
            if (length == limit) {
                cut = true;
                return;
            }
            out[length++] = *text;
        }
    }
    void Narrow(const char* text)
    {
        for (; *text; ++text) {
            if (length == limit) {
                cut = true;
                return;
            }
            out[length++] = WidenCp1250Byte(*text);
        }
    }
};
}  // namespace

std::u16string WidenCp1250(const char* text)
{
    std::u16string wide;
    for (; *text; ++text)
        wide += WidenCp1250Byte(*text);
    return wide;
}

size_t ComposeTitle(char16_t* out, size_t capacity, const std::u16string& ownTitle,
                    const char* clock, const char* name, bool countdown, bool before,
                    const char* remaining, const char16_t* note, TitleLayout* layout)
{
    if (capacity == 0)
        return 0;
    TitleWriter w{ out, 0, capacity - 1, false };
    TitleLayout at;
    auto own = [&] { at.ownAt = w.length; w.Wide(ownTitle); at.ownLength = w.length - at.ownAt; };
    auto clockText = [&] { at.clockAt = w.length; w.Narrow(clock); at.clockLength = w.length - at.clockAt; };
    if (!countdown && !before) {          // "%s%s%s *"
        own(); clockText(); w.Narrow(name); w.Narrow(" *");
    } else if (!countdown) {              // "%s%s * %s"
        clockText(); w.Narrow(name); w.Narrow(" * "); own();
    } else if (!before) {                 // "%s%s%s * Za %s  %s"
        own(); clockText(); w.Narrow(name); w.Narrow(" * Za ");
        w.Narrow(remaining); w.Narrow("  "); w.Wide(note);
    } else {                              // "%s%s * Za %s %s * %s "
        clockText(); w.Narrow(name); w.Narrow(" * Za "); w.Narrow(remaining);
        w.Narrow(" "); w.Wide(note); w.Narrow(" * "); own(); w.Narrow(" ");
    }
    if (w.cut && w.length > 0 && IsHighSurrogate(out[w.length - 1]))
        --w.length;   // do not leave half of a character behind
    out[w.length] = u'\0';
    if (layout) {
        at.length = w.length;
        at.ownLength = std::min(at.ownLength, w.length - std::min(at.ownAt, w.length));
        at.clockLength = std::min(at.clockLength, w.length - std::min(at.clockAt, w.length));
        *layout = at;
    }
    return w.length;
}
