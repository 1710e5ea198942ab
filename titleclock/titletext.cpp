#include "titleclock/titleledger.h"

#include "common/cp1250.h"

using View = std::u16string_view;

namespace {

constexpr size_t none = View::npos;

// pattern at at, where '9' stands for a digit and '0' for a digit or none;
// where it ends, or none.
size_t Match(View s, size_t at, View pattern)
{
    for (char16_t p : pattern) {
        bool digit = at < s.size() && s[at] >= u'0' && s[at] <= u'9';
        if (p == u'0' || p == u'9') {
            if (!digit && p == u'9')
                return none;
            at += digit;
        } else if (at < s.size() && s[at] == p) {
            ++at;
        } else {
            return none;
        }
    }
    return at;
}

// The first clock text from from on: [start, end), its leading spaces and
// its trailing space included. Its day is the one word after "* ".
bool FindClock(View s, size_t from, size_t& start, size_t& end)
{
    for (size_t dash = s.find(u" - ", from); dash != none; dash = s.find(u" - ", dash + 1)) {
        size_t at = Match(s, dash, u" - 90.90.9999 - 99:99:99 *"), day = dash;
        while (day > from && dash - day < 24 && s[day - 1] != u' ')
            --day;
        if (at == none || day == dash || day < from + 2 || s.substr(day - 2, 2) != u"* ")
            continue;
        for (start = day - 2; start > from && day - 2 - start < 2 && s[start - 1] == u' ';)
            --start;
        end = at + (s.substr(at, 1) == u" ");
        return true;
    }
    return false;
}

// known at at, followed by after: where known ends, or none.
size_t Known(View s, size_t at, View known, View after)
{
    return Resembles(s, at, known) && s.substr(at + known.size(), after.size()) == after ? at + known.size() : none;
}

// Where " * " at at (exact) or the first one from at on ends; a window that
// trims may have left " *" ending the title.
size_t Star(View s, size_t at, bool exact)
{
    size_t star = exact ? (s.substr(at, 3) == u" * " ? at : none) : s.find(u" * ", at);
    if (star != none)
        return star + 3;
    bool last = s.size() >= at + 2 && (!exact || s.size() == at + 2) && s.substr(s.size() - 2) == u" *";
    return last ? s.size() : none;
}

// Where the decoration whose clock text ends at at ends: after the name and
// its " *", the countdown part and, in front of an own title, the space
// before it (a space there is taken for that, also where a window added
// something in front of the decoration or its owner marked it). A countdown
// in front leaves a space behind the own title too (*trailingSpace).
size_t DecorationEnd(View s, size_t at, const KnownParts& known, bool* trailingSpace)
{
    size_t name = none, note = none, end = none;
    for (const std::u16string& known : known.names)
        if (name == none && !known.empty())
            name = Known(s, at, known, u" *");
    if (name == none && (name = s.find(u" *", at)) == none)
        return s.size();   // cut short
    at = name + 2;
    size_t time = Match(s, at, u" Za 99:99:99");
    if (time != none) {
        // In front " <note> * <own> ", behind "  <note>" to the end of the
        // title: this run's notes first, then an empty one in front (the
        // title ends in the space behind the own title), then another one.
        bool front = s.substr(time, 1) == u" ", behind = time == s.size() || s.substr(time, 2) == u"  ";
        for (const std::u16string& known : known.notes) {
            if (end == none && front && (note = Known(s, time + 1, known, u"")) != none)
                end = Star(s, note, true);
            if (end == none && behind && !known.empty() && (note = Known(s, time + 2, known, u"")) != none)
                return note;
        }
        if (end == none && behind && !(s.substr(time, 4) == u"  * " && s.back() == u' '))
            return s.size();
        if (end == none && front)
            end = Star(s, time + 1, false);
        if (end != none) {
            *trailingSpace = true;
            return end;
        }
    }
    return at + (s.substr(at, 1) == u" ");
}

}  // namespace

size_t ComposeTitle(std::u16string& out, View own, const TitleParts& parts)
{
    // "%s%s%s *", "%s%s * %s", "%s%s%s * Za %s  %s", "%s%s * Za %s %s * %s "
    out.assign(parts.before ? View() : own);
    AppendCp1250(out, parts.clock);
    AppendCp1250(out, parts.name);
    if (parts.remaining) {
        AppendCp1250(out, " * Za ");
        AppendCp1250(out, parts.remaining);
        out += parts.before ? u" " : u"  ";
        out += parts.note;
    }
    if (!parts.before) {
        out += parts.remaining ? u"" : u" *";
        return 0;
    }
    out += u" * ";
    size_t ownAt = out.size();
    out += own;
    out += parts.remaining ? u" " : u"";
    return ownAt;
}

void Undecorate(View title, const KnownParts& known, std::u16string& own)
{
    own.clear();
    bool trailingSpace = false;
    size_t from = 0, start, end;
    while (FindClock(title, from, start, end)) {
        own += title.substr(from, start - from);
        from = DecorationEnd(title, end, known, &trailingSpace);
    }
    own += title.substr(from);
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
