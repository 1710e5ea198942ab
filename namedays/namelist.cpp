// Reading the name list and looking today's name up.
#include "namedays/namelist.h"

#include <charconv>
#include <cstring>
#include <initializer_list>

#include "common/cp1250.h"
#include "common/textput.h"

void RequestLookupAfterEdit(NameDays& days)
{
    days.editLookupDue = true;
}

namespace {

const char utf8ByteOrderMark[] = "\xEF\xBB\xBF";

// Makes at least want bytes available in the buffer unless the list ends
// first; true when they are there.
bool Fill(NameListStream& s, std::size_t want)
{
    while (s.end - s.next < want && !s.exhausted) {
        if (s.next > 0) {
            std::memmove(s.buffer, s.buffer + s.next, s.end - s.next);
            s.end -= s.next;
            s.next = 0;
        }
        std::size_t room = sizeof s.buffer - s.end;
        std::size_t got = s.access->read(s.access->context, s.buffer + s.end, room);
        if (got == 0 || got > room)
            s.exhausted = true;
        else
            s.end += got;
    }
    return s.end - s.next >= want;
}

// The next character in text mode: CR LF reads as LF. -1 at the end.
int NextChar(NameListStream& s)
{
    if (!Fill(s, 1))
        return -1;
    char c = s.buffer[s.next++];
    if (c == '\r' && Fill(s, 1) && s.buffer[s.next] == '\n') {
        ++s.next;
        return '\n';
    }
    return static_cast<unsigned char>(c);
}

// The next field of a line split in place; nullptr when none is left.
char* NextField(char*& next_token1)
{
    char* p = next_token1;
    while (*p == ';')
        ++p;
    if (*p == '\0') {
        next_token1 = p;
        return nullptr;
    }
    char* field = p;
    while (*p != '\0' && *p != ';')
        ++p;
    if (*p == ';')
        *p++ = '\0';
    next_token1 = p;
    return field;
}

void CopyField(char* to, const char* field)
{
    std::size_t n = std::strlen(field);
    if (n > maxListLineLength)
        n = maxListLineLength;
    std::memcpy(to, field, n);
    to[n] = '\0';
}

// todayName after a lookup: the name of today's line, converted when the
// list was saved as UTF-8; empty when today's line was not found or has no
// name.
void SetTodayName(NameDays& days, const LineFields& line, bool found)
{
    if (!found || !line.hasName) {
        days.todayName.clear();
        return;
    }
    char converted[sizeof line.name];
    days.todayName = ConvertUtf8Name(line.name, converted) ? converted : line.name;
}

// Decodes one UTF-8 sequence of two to four bytes starting at p (whose first
// byte is 0x80 or more); its length, or 0 when it is no valid sequence
// (stray continuation byte, cut short, overlong, surrogate, beyond U+10FFFF).
int DecodeUtf8(const unsigned char* p, unsigned long& code)
{
    int length;
    unsigned long min;
    if (p[0] >= 0xC2 && p[0] <= 0xDF) { length = 2; code = p[0] & 0x1Fu; min = 0x80; }
    else if (p[0] >= 0xE0 && p[0] <= 0xEF) { length = 3; code = p[0] & 0x0Fu; min = 0x800; }
    else if (p[0] >= 0xF0 && p[0] <= 0xF4) { length = 4; code = p[0] & 0x07u; min = 0x10000; }
    else return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)   // also stops at the terminating zero
            return 0;
        code = (code << 6) | (p[i] & 0x3Fu);
    }
    if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

void StartListStream(NameListStream& finSoubor, const NameListAccess& access)
{
    finSoubor.access = &access;
    finSoubor.next = 0;
    finSoubor.end = 0;
    finSoubor.started = false;
    finSoubor.exhausted = false;
    finSoubor.failed = false;
    finSoubor.linesRead = 0;
}

void ReadListLine(NameListStream& finSoubor, char* etxt)
{
    int n = 0;
    etxt[0] = '\0';
    if (finSoubor.failed)
        return;
    if (!finSoubor.started) {
        finSoubor.started = true;
        if (Fill(finSoubor, 3) && std::memcmp(finSoubor.buffer + finSoubor.next, utf8ByteOrderMark, 3) == 0)
            finSoubor.next += 3;
    }
    for (;;) {
        int c = NextChar(finSoubor);
        if (c < 0) {
            // The end of the list: a line without its line end still counts.
            if (n == 0)
                finSoubor.failed = true;
            break;
        }
        if (c == '\n')
            break;
        if (n == maxListLineLength) {
            // A hundredth character: the line is too long, and no more of
            // the list is read on this tick.
            finSoubor.failed = true;
            break;
        }
        etxt[n++] = static_cast<char>(c);
    }
    etxt[n] = '\0';
}

void SplitListLine(char* etxt, LineFields& lineFields)
{
    char* next_token1 = etxt;
    const char* date = NextField(next_token1);
    if (!date)
        return;
    CopyField(lineFields.date, date);
    const char* name = NextField(next_token1);
    lineFields.hasName = name != nullptr;
    CopyField(lineFields.name, name ? name : "");
}

bool ScanNameList(NameListStream& finSoubor, const char* listKey, LineFields& lineFields)
{
    char etxt[maxListLineLength + 1];
    for (;;) {
        if (std::strcmp(lineFields.date, listKey) == 0)
            return true;
        if (finSoubor.linesRead >= maxListLinesRead || finSoubor.failed)
            return false;
        ReadListLine(finSoubor, etxt);
        ++finSoubor.linesRead;
        SplitListLine(etxt, lineFields);
    }
}

bool RunNameDayStep(NameDays& days, int day, int month, const NameListAccess& access)
{
    // "%02d.%02d."
    constexpr std::size_t keyRoom = 2 * intChars + 3;
    char listKey[keyRoom];
    char* p = listKey;
    for (int part : { day, month }) {
        if (part >= 0 && part < 10)
            *p++ = '0';   // two digits at least
        p = std::to_chars(p, listKey + keyRoom - 1, part).ptr;
        *p++ = '.';
    }
    *p = '\0';

    const ListOpen opened = access.open(access.context);
    if (opened == ListOpen::failed) {
        if (days.listErrorShown)
            return true;
        // Set before the report: ticks keep running inside its box and must
        // not report again.
        days.listErrorShown = true;
        access.reportOpenFailure(access.context);
        return false;
    }
    if (opened == ListOpen::saved)
        days.editLookupDue = true;

    NameListStream finSoubor;
    StartListStream(finSoubor, access);
    LineFields lineFields = {};   // no date: the tick's first lookup begins by reading

    // The lookups due, in their order: a new day (also the run's first day),
    // the run's first, one after an edit. Each is done once it has run on a
    // readable stream, whatever it found; after another lookup on the same
    // tick it only confirms the line found.
    bool newDay = day != days.lastDay || month != days.lastMonth;
    for (bool* due : { &newDay, &days.firstLookupDue, &days.editLookupDue }) {
        if (*due && !finSoubor.failed) {
            *due = false;
            SetTodayName(days, lineFields, ScanNameList(finSoubor, listKey, lineFields));
        }
    }
    if (!newDay) {
        days.lastDay = day;
        days.lastMonth = month;
    }

    access.close(access.context);
    return true;
}

bool ConvertUtf8Name(const char* name, char* out)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(name);
    bool multiByte = false;
    std::size_t n = 0;
    // First check the whole name, then write: out stays alone on failure.
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t i = 0; p[i] != '\0';) {
            unsigned char byte = p[i];
            if (byte < 0x80) {
                if (pass == 1)
                    out[n++] = static_cast<char>(byte);
                ++i;
                continue;
            }
            unsigned long code = 0;
            int length = DecodeUtf8(p + i, code);
            if (length == 0)
                return false;
            unsigned char converted = Cp1250Byte(code);
            if (converted == 0)
                return false;
            multiByte = true;
            if (pass == 1)
                out[n++] = static_cast<char>(converted);
            i += static_cast<std::size_t>(length);
        }
        if (!multiByte)
            return false;
    }
    out[n] = '\0';
    return true;
}
