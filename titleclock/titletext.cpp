#include "titleclock/titleledger.h"

#include <algorithm>

#include "common/cp1250.h"

using View = std::u16string_view;

namespace {

constexpr size_t none = View::npos, maxDayLength = 16;

bool At(View s, size_t at, View text)
{
    return at <= s.size() && s.substr(at, text.size()) == text;
}

// Where text at at ends, or none.
size_t After(View s, size_t at, View text)
{
    return at != none && At(s, at, text) ? at + text.size() : none;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Where least to most digits from at end, or none.
size_t Digits(View s, size_t at, size_t least, size_t most)
{
    size_t end = at;
    while (end < s.size() && end - at < most && IsDigit(s[end]))
        ++end;
    return at != none && end - at >= least ? end : none;
}

// "HH:MM:SS" at at: where it ends, or none.
size_t Time(View s, size_t at)
{
    return Digits(s, After(s, Digits(s, After(s, Digits(s, at, 2, 2), u":"), 2, 2), u":"), 2, 2);
}

// What a matcher found: the decoration's span, and the closing space's of a
// countdown in front.
struct Span {
    size_t begin = none, end = none;
};
struct Found {
    Span decoration, closing;
};

// A clock text: its two spaces (or none at the title's start, as a window
// that trims shows it), "* ", a day, " - D.M.YYYY - HH:MM:SS * "; and this
// run's text found at it.
struct Clock {
    size_t start = none, star = none, end = none;
    Found ours;
};

// A text this run wrote, at the clock text's star: as written, as a window
// shows it (other letters where a code page lacks them; cut short at the
// title's end), anywhere; or as of an earlier second (other digits) beside
// its own title as written. A countdown in front closes after the own title
// as written, else at the title's end.
Found ThisRuns(View s, const Clock& clock, const WrittenText (&written)[2])
{
    for (bool otherDigits : { false, true }) {
        for (const WrittenText& w : written) {
            View text = w.text, own = text.substr(w.ownAt, w.ownLength);
            bool front = w.ownAt > 0;
            View decoration = front ? text.substr(0, w.ownAt) : text.substr(w.ownLength);
            View closing = front ? text.substr(w.ownAt + w.ownLength) : View();
            size_t length = decoration.size() <= 2 ? none : Alike(s.substr(clock.star), decoration.substr(2), 0, 0, otherDigits);
            if (length == none)
                continue;   // not this text, or an own title given back
            size_t end = clock.star + length;
            bool beside = front ? At(s, end, own) && At(s, end + own.size(), closing)
                                : clock.start >= own.size() && At(s, clock.start - own.size(), own)
                                      && Time(s, After(s, end, u" Za ")) == none;   // not a countdown's start
            if (otherDigits && (!beside || own.empty()))
                continue;
            Found found{ { clock.start, end }, {} };
            size_t close = beside ? end + own.size() : s.size() - closing.size();
            if (!closing.empty() && close >= end && At(s, close, closing))
                found.closing = { close, close + closing.size() };
            return found;
        }
    }
    return {};
}

// The first clock text from from on with its two spaces or of this run's (its
// last space may be trimmed at the title's end); lead is where the title's
// first letter stands.
Clock NextClock(View s, size_t from, size_t lead, const WrittenText (&written)[2])
{
    for (size_t dash = s.find(u" - ", from); dash != none; dash = s.find(u" - ", dash + 1)) {
        size_t date = Digits(s, After(s, Digits(s, dash + 3, 1, 2), u"."), 1, 2);
        size_t end = After(s, Time(s, After(s, Digits(s, After(s, date, u"."), 4, 4), u" - ")), u" *");
        size_t day = dash;
        while (day > from && dash - day < maxDayLength && s[day - 1] != u' ')
            --day;
        if (end == none || day == dash || day < from + 2 || !At(s, day - 2, u"* "))
            continue;
        size_t star = day - 2;
        bool spaced = star == lead || (star >= from + 2 && At(s, star - 2, u"  "));
        Clock clock{ spaced ? star - std::min<size_t>(star - from, 2) : star, star, end + At(s, end, u" "), {} };
        clock.ours = ThisRuns(s, clock, written);
        if (spaced || clock.ours.decoration.end != none)
            return clock;
    }
    return {};
}

// A decoration of any run, its clock text whole before limit (the next clock
// text or the title's end), in the first form that fits whole:
// - a countdown in front: the name, " * Za HH:MM:SS ", the note up to " * ",
//   and the closing space the title ends with;
// - a countdown behind: the name, " * Za HH:MM:SS", two spaces and the note up
//   to limit;
// - the name and " *", and where a space follows, the own title behind it.
Found AnyRuns(View s, const Clock& clock, size_t limit)
{
    size_t name = s.find(u" *", clock.end);
    if (name == none || name + 2 > limit)
        return {};
    size_t time = Time(s, After(s, name + 2, u" Za "));
    size_t note = After(s, time, u" "), noteEnd = note == none ? none : s.find(u" * ", note);
    if (noteEnd != none && noteEnd + 3 <= limit && s.back() == u' ')
        return { { clock.start, noteEnd + 3 }, { s.size() - 1, s.size() } };
    if (At(s, time, u"  ") && time + 2 <= limit)
        return { { clock.start, limit }, {} };
    return { { clock.start, name + 2 + (name + 2 < limit && s[name + 2] == u' ') }, {} };
}

}  // namespace

size_t Alike(View shown, View text, size_t exactFrom, size_t exactTo, bool otherDigits)
{
    size_t at = 0;
    for (size_t i = 0; i < text.size() && at < shown.size(); ++i, ++at) {
        char16_t c = text[i], s = shown[at];
        bool letter = s >= 0x80 || ((s | 0x20) >= u'a' && (s | 0x20) <= u'z') || s == u'?';
        if (s == c)
            continue;
        if (i >= exactFrom && i < exactTo)
            return none;
        if (c >= 0xD800 && c < 0xDC00 && s == u'?')
            i += i + 1 < text.size();   // a pair of surrogates as one "?"
        else if (!((c >= 0x80 && letter) || (otherDigits && IsDigit(c) && IsDigit(s))))
            return none;
    }
    return at;
}

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
    std::vector<Span> spans;
    bool ours = false;
    size_t lead = title.find_first_not_of(u' ');
    for (Clock clock = NextClock(title, 0, lead, written); clock.star != none;) {
        Found found = clock.ours;
        ours = ours || found.decoration.end != none;
        size_t after = found.decoration.end == none ? clock.end : std::max(clock.end, found.decoration.end);
        Clock next = NextClock(title, after, lead, written);
        if (found.decoration.end == none)
            found = AnyRuns(title, clock, std::min(next.start, title.size()));
        for (Span span : { found.decoration, found.closing })
            if (span.end != none)
                spans.push_back(span);
        clock = next;
    }
    std::sort(spans.begin(), spans.end(), [](Span a, Span b) { return a.begin < b.begin; });
    own.clear();
    size_t from = 0;   // what lies between the spans is the own title
    for (Span span : spans) {
        own.append(title.substr(from, span.begin - std::min(from, span.begin)));
        from = std::max(from, span.end);
    }
    own.append(title.substr(std::min(from, title.size())));
    return ours;
}
