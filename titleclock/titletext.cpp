#include "titleclock/titletext.h"

#include "common/cp1250.h"

using View = std::u16string_view;

namespace {

bool IsDigit(View s, size_t at) { return at < s.size() && s[at] >= u'0' && s[at] <= u'9'; }

// Digits at at, at least min and at most max of them; where they end, or
// npos.
size_t Digits(View s, size_t at, size_t min, size_t max)
{
    if (at == View::npos)
        return at;
    size_t n = 0;
    while (n < max && IsDigit(s, at + n))
        ++n;
    return n >= min ? at + n : View::npos;
}

// The text at at; where it ends, or npos.
size_t Text(View s, size_t at, View text)
{
    return at <= s.size() && s.substr(at, text.size()) == text ? at + text.size() : View::npos;
}

// "HH:MM:SS" at at; where it ends, or npos.
size_t Time(View s, size_t at)
{
    for (int field = 0; field < 3 && at != View::npos; ++field)
        at = Digits(s, field ? Text(s, at, u":") : at, 2, 2);
    return at;
}

// The first clock text from from on: [start, end), its leading spaces and
// its trailing space included.
bool FindClock(View s, size_t from, size_t& start, size_t& end)
{
    for (size_t dash = s.find(u" - ", from); dash != View::npos; dash = s.find(u" - ", dash + 1)) {
        // " - D.M.YYYY - HH:MM:SS *"
        size_t at = Digits(s, dash + 3, 1, 2);
        at = Digits(s, Text(s, at, u"."), 1, 2);
        at = Digits(s, Text(s, at, u"."), 4, 4);
        at = Text(s, Time(s, Text(s, at, u" - ")), u" *");
        if (at == View::npos)
            continue;
        // "* <day>", one word
        size_t day = dash;
        while (day > from && dash - day < 24 && s[day - 1] != u' ')
            --day;
        if (day == dash || day < from + 2 || s.substr(day - 2, 2) != u"* ")
            continue;
        start = day - 2;
        for (int spaces = 0; spaces < 2 && start > from && s[start - 1] == u' '; ++spaces)
            --start;
        end = at < s.size() && s[at] == u' ' ? at + 1 : at;
        return true;
    }
    return false;
}

// known at at, followed by after; where known ends, or npos.
size_t Known(View s, size_t at, View known, View after)
{
    if (!Resembles(s, at, known) || s.substr(at + known.size(), after.size()) != after)
        return View::npos;
    return at + known.size();
}

// " * " at at or later, or " *" ending the title (whose end a window
// trimmed): where the first of them ends, or npos. With exact, only at at.
size_t StarEnd(View s, size_t at, bool exact = false)
{
    size_t star = exact ? (s.substr(at, 3) == u" * " ? at : View::npos) : s.find(u" * ", at);
    if (star != View::npos)
        return star + 3;
    return s.size() >= at + 2 && (!exact || s.size() == at + 2) && s.substr(s.size() - 2) == u" *" ? s.size()
                                                                                                 : View::npos;
}

// Where the decoration whose clock text ends at clockEnd ends: after the
// name and its " *", the countdown part and, in front of an own title, the
// space before it (a space there is taken for that, also where a window
// added something in front of the decoration or its owner marked it). A
// countdown in front also leaves a space behind the own title
// (*trailingSpace).
size_t DecorationEnd(View s, size_t clockEnd, const KnownParts& known, bool* trailingSpace)
{
    size_t name = known.name.empty() ? View::npos : Known(s, clockEnd, known.name, u" *");
    if (name == View::npos)
        name = s.find(u" *", clockEnd);
    if (name == View::npos)
        return s.size();   // cut short
    size_t at = name + 2;
    size_t time = Time(s, Text(s, at, u" Za "));
    if (time != View::npos) {
        // In front: " <note> * <own> "; behind: "  <note>", which ends the
        // title unless it is this run's note. This run's note first, then
        // an empty one in front (the title ends in the space after the own
        // title), then another one.
        bool front = s.substr(time, 1) == u" ", behind = s.substr(time, 2) == u"  " || time == s.size();
        size_t end = front && Resembles(s, time + 1, known.note)
                   ? StarEnd(s, time + 1 + known.note.size(), true) : View::npos;
        if (end == View::npos && behind && !known.note.empty() && Resembles(s, time + 2, known.note))
            return time + 2 + known.note.size();
        if (end == View::npos && behind && !(s.substr(time, 4) == u"  * " && s.back() == u' '))
            return s.size();
        if (end == View::npos && front)
            end = StarEnd(s, time + 1);
        if (end != View::npos) {
            *trailingSpace = true;
            return end;
        }
    }
    return s.substr(at, 1) == u" " ? at + 1 : at;
}

}  // namespace

void AppendCp1250(std::u16string& out, const char* text)
{
    for (; *text; ++text)
        out += WidenCp1250Byte(*text);
}

std::u16string WidenCp1250(const char* text)
{
    std::u16string wide;
    AppendCp1250(wide, text);
    return wide;
}

size_t ComposeTitle(std::u16string& out, View own, const TitleParts& parts)
{
    out.clear();
    if (!parts.before)
        out += own;                                    // "%s%s%s *"
    AppendCp1250(out, parts.clock);
    AppendCp1250(out, parts.name);
    if (parts.remaining) {                             // " * Za %s  %s" / " * Za %s %s"
        AppendCp1250(out, " * Za ");
        AppendCp1250(out, parts.remaining);
        out += parts.before ? u" " : u"  ";
        out += parts.note;
    }
    if (!parts.before) {
        if (!parts.remaining)
            out += u" *";
        return 0;
    }
    out += u" * ";                                     // "%s%s * %s" / "... * %s "
    size_t ownAt = out.size();
    out += own;
    if (parts.remaining)
        out += u' ';
    return ownAt;
}

void Undecorate(View title, const KnownParts& known, std::u16string& own)
{
    own.clear();
    bool trailingSpace = false;
    size_t from = 0, start, end;
    while (FindClock(title, from, start, end)) {
        own.append(title.substr(from, start - from));
        from = DecorationEnd(title, end, known, &trailingSpace);
    }
    own.append(title.substr(from));
    if (trailingSpace && !own.empty() && own.back() == u' ')
        own.pop_back();
}

bool Resembles(View shown, size_t at, View text)
{
    if (at > shown.size() || shown.size() - at < text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (shown[at + i] != text[i] && text[i] < 0x80)
            return false;
    return true;
}
