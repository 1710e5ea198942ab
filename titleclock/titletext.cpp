#include "titleclock/titleledger.h"

#include <algorithm>

#include "common/cp1250.h"

using View = std::u16string_view;

namespace {

constexpr size_t none = View::npos;
// A clock text: two spaces, "* ", a day of at most maxDayLength letters, then
// clockTail ('9' a digit, '0' a digit or none) and a space.
constexpr size_t clockSpaces = 2, maxDayLength = 16;
constexpr View clockTail = u" - 90.90.9999 - 99:99:99 *";

// pattern at at; where it ends, or none.
size_t Match(View s, size_t at, View pattern)
{
    for (char16_t p : pattern) {
        bool digit = at < s.size() && s[at] >= u'0' && s[at] <= u'9';
        if (p == u'9' || p == u'0')
            at += digit;
        if ((p == u'9' && !digit) || (p != u'9' && p != u'0' && (at >= s.size() || s[at++] != p)))
            return none;
    }
    return at;
}

bool At(View s, size_t at, View text)
{
    return s.substr(std::min(at, s.size()), text.size()) == text;
}

// Whether shown[at...] is text as a window may show it: the same wherever
// text has a character from ASCII.
bool Resembles(View shown, size_t at, View text)
{
    if (at > shown.size() || shown.size() - at < text.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (shown[at + i] != text[i] && text[i] < 0x80)
            return false;
    return true;
}

// The decoration of a text this run wrote, from its clock text's star on;
// empty for an own title given back.
View Ours(const WrittenText& written)
{
    View text = written.text;
    View decoration = written.ownAt > 0 ? text.substr(0, written.ownAt) : text.substr(written.ownLength);
    return decoration.substr(std::min(clockSpaces, decoration.size()));
}

// A clock text that may begin a decoration, from its two spaces (at the start
// maybe trimmed) to its trailing space; one of this run's (ours) anywhere.
struct Clock {
    size_t start = none, star = none, end = none;
    int ours = -1;
};

Clock FindClock(View s, size_t from, const WrittenText (&written)[2])
{
    for (size_t dash = s.find(u" - ", from); dash != none; dash = s.find(u" - ", dash + 1)) {
        size_t end = Match(s, dash, clockTail), day = dash;
        while (day > from && dash - day < maxDayLength && s[day - 1] != u' ')
            --day;
        if (end == none || day == dash || day < from + 2 || !At(s, day - 2, u"* "))
            continue;
        size_t star = day - 2;
        bool spaced = (star >= from + clockSpaces && At(s, star - clockSpaces, u"  "))
                   || s.find_first_not_of(u' ') == star;
        Clock clock{ spaced ? star - std::min(star, clockSpaces) : star, star, end + At(s, end, u" ") };
        for (int last = 1; last >= 0; --last) {   // also cut short where the title ends
            View ours = Ours(written[last]);
            if (!ours.empty() && Resembles(s, star, ours.substr(0, s.size() - star)))
                clock.ours = last;
        }
        if (spaced || clock.ours >= 0)
            return clock;
    }
    return {};
}

// Where text closed by closing, the first one from at on, ends before limit.
size_t Closed(View s, size_t at, View closing, size_t limit)
{
    size_t end = s.find(closing, at);
    return end != none && end + closing.size() <= limit ? end + closing.size() : none;
}

// A whole decoration: where it ends, and the spaces it left behind the own title.
struct Decoration {
    size_t end = none, spaces = 0;
};

// A decoration of any run whose clock text ends at at, whole before limit
// (the next clock text or the title's end): the name closed by " *", then a
// countdown behind ("  " and the note up to limit) or in front (" ", the note
// and " * ", and the title ends in a space), else nothing more behind or a
// space before the own title in front.
Decoration Whole(View s, size_t at, size_t limit)
{
    size_t name = Closed(s, at, u" *", limit);
    size_t time = name == none ? none : Match(s, name, u" Za 99:99:99");
    if (time != none && At(s, time, u"  ") && time + 2 <= limit)
        return { limit };
    size_t note = time == none || !At(s, time, u" ") ? none : Closed(s, time + 1, u" * ", limit);
    if (note != none && s.back() == u' ')
        return { note, 1 };
    if (name == limit || name == none)
        return { name };
    return { s[name] == u' ' ? name + 1 : none };
}

// Appends part of the own title without the spaces decorations in front
// left behind it.
void AppendOwn(std::u16string& own, View part, size_t& spaces)
{
    for (; spaces > 0 && !part.empty() && part.back() == u' '; --spaces)
        part.remove_suffix(1);
    own.append(part);
}

}  // namespace

size_t ComposeTitle(std::u16string& out, View own, const TitleParts& parts)
{
    // "%s%s%s *", "%s%s * %s", "%s%s%s * Za %s  %s", "%s%s * Za %s %s * %s "
    out.assign(parts.before ? View() : own);
    AppendCp1250(AppendCp1250(out, parts.clock), parts.name);
    if (parts.remaining)
        AppendCp1250(AppendCp1250(out, " * Za "), parts.remaining)
            .append(parts.before ? u" " : u"  ").append(parts.note);
    if (!parts.before) {
        out += parts.remaining ? u"" : u" *";
        return 0;
    }
    out += u" * ";
    size_t ownAt = out.size();
    out.append(own).append(parts.remaining ? u" " : u"");
    return ownAt;
}

bool Undecorate(View title, const WrittenText (&written)[2], std::u16string& own)
{
    own.clear();
    size_t from = 0, spaces = 0;
    bool ours = false;
    for (Clock clock = FindClock(title, 0, written); clock.star != none;) {
        Clock next = FindClock(title, clock.end, written);
        Decoration decoration;
        if (clock.ours >= 0) {   // as written, also cut short
            const WrittenText& text = written[clock.ours];
            decoration = { std::min(clock.star + Ours(text).size(), title.size()),
                           text.ownAt > 0 ? text.text.size() - text.ownAt - text.ownLength : 0 };
            ours = true;
        } else {
            decoration = Whole(title, clock.end, std::min(next.start, title.size()));
        }
        if (decoration.end != none) {
            AppendOwn(own, title.substr(from, clock.start - from), spaces);
            from = decoration.end;
            spaces += decoration.spaces;
        }
        clock = next;
    }
    AppendOwn(own, title.substr(from), spaces);
    return ours;
}
