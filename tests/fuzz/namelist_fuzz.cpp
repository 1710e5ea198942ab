// Arbitrary bytes as jmena.txt, through the name-day step of one tick and
// of consecutive ticks: dates, edits, a list that goes missing, ticks inside
// the error box, and lists that arrive in pieces of any size.
//
// Input: byte 0 picks how many ticks run and how big the pieces are; then
// three bytes per tick (day, month, flags); the rest is the list.
// Every tick that reads the list must give the name that a plain reading
// of the list's rules gives; a tick must never read more than its 366 lines
// can hold; the later ticks of a day must read nothing; the error is
// reported once.
#include <iconv.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "namedays/namelist.h"
#include "support/memorylist.h"

using testsupport::MemoryList;

namespace {

void Fail(const char* what)
{
    std::fprintf(stderr, "name list fuzz: %s\n", what);
    std::abort();
}

// The name as a list saved in UTF-8 gives it: converted by the C library
// when it is UTF-8 with a multi-byte sequence that Windows-1250 holds whole.
std::string ExpectedName(const std::string& name)
{
    bool high = false;
    for (char c : name)
        high = high || static_cast<unsigned char>(c) >= 0x80;
    // glibc's iconv drops the tag characters U+E0000-U+E007F (F3 A0 80-81 ..)
    // where it should fail: Windows-1250 has none, so such a name stays as read.
    if (!high || name.find("\xF3\xA0\x80") != std::string::npos || name.find("\xF3\xA0\x81") != std::string::npos)
        return name;
    static iconv_t cd = iconv_open("CP1250", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        Fail("iconv cannot convert UTF-8 to CP1250");
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string in = name;
    char out[256];
    char* inp = &in[0];
    std::size_t inLeft = in.size();
    char* outp = out;
    std::size_t outLeft = sizeof out;
    if (iconv(cd, &inp, &inLeft, &outp, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
        return name;
    return std::string(out, outp);
}

// Today's name by a plain reading of the rules over the whole list: text
// mode, a byte-order mark skipped, lines of up to 99 characters (a longer
// one is the last line read), 366 lines, fields split like strtok, the
// first line with today's date wins.
std::string Reference(const std::string& bytes, int day, int month)
{
    char key[32];
    std::snprintf(key, sizeof key, "%02d.%02d.", day, month);
    std::size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::string text;
    for (std::size_t i = start; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        text += bytes[i];
    }
    std::size_t at = 0;
    for (int line = 0; line < 366 && at < text.size(); ++line) {
        std::size_t end = text.find('\n', at);
        bool lastLine = end == std::string::npos;
        std::string content = text.substr(at, lastLine ? std::string::npos : end - at);
        bool tooLong = content.size() > 99;
        if (tooLong)
            content.resize(99);
        at = lastLine ? text.size() : end + 1;

        std::vector<char> cstr(content.begin(), content.end());
        cstr.push_back('\0');
        char* save = nullptr;
        char* date = strtok_r(cstr.data(), ";", &save);
        if (date && std::strcmp(date, key) == 0) {
            char* name = strtok_r(nullptr, ";", &save);
            return name ? ExpectedName(name) : std::string();
        }
        if (tooLong)
            break;
    }
    return std::string();
}

struct Run {
    NameDays days;   // the program's, for the whole run
    std::string list;
    std::size_t chunk;
    int reports = 0;
    bool reportedBefore = false;
    int lastDay = -1, lastMonth = -1;
    int presentTicksSinceChange = 0;
    int ticksRun = 0;
    std::map<int, std::string> expected;   // by date, worked out once

    const std::string& Expected(int day, int month)
    {
        auto it = expected.find(day * 100 + month);
        if (it == expected.end())
            it = expected.emplace(day * 100 + month, Reference(list, day, month)).first;
        return it->second;
    }
};

void CheckedTick(Run& run, MemoryList& memory, int day, int month, bool edited)
{
    int tickNumber = ++run.ticksRun;
    if (edited) {
        RequestLookupAfterEdit(run.days);
    }
    if (day != run.lastDay || month != run.lastMonth || edited)
        run.presentTicksSinceChange = 0;
    run.lastDay = day;
    run.lastMonth = month;

    std::string before = run.days.todayName;
    int reads = memory.reads;
    std::size_t bytes = memory.bytesRead;
    int reports = memory.reports;
    bool firstFailure = !memory.present && !run.reportedBefore;
    if (!memory.present)
        run.reportedBefore = true;

    bool goesOn = memory.Tick(run.days, day, month);

    if (goesOn == firstFailure)
        Fail("only the tick that reports the missing list ends without a title");
    if (memory.reports - reports != (firstFailure ? 1 : 0))
        Fail("the missing list is reported once per run");
    if (memory.opens != memory.closes)
        Fail("a list opened on a tick stays open");
    if (memory.bytesRead - bytes > 366 * 101 + 3 + sizeof(NameListStream::buffer))
        Fail("a tick read more than its 366 lines can hold");
    if (run.days.todayName.size() > 99)
        Fail("a name longer than a line");
    if (memory.reads > reads) {
        const std::string& expected = run.Expected(day, month);
        if (run.days.todayName != expected) {
            std::fprintf(stderr, "date %02d.%02d.: name [%s], expected [%s]\n", day, month,
                         run.days.todayName.c_str(), expected.c_str());
            Fail("a lookup gave another name than the list's rules");
        }
    } else if (run.days.todayName != before && run.ticksRun == tickNumber) {
        // (A tick inside this tick's error box may have looked the name up.)
        Fail("the name changed on a tick that read nothing");
    }
    if (memory.present) {
        ++run.presentTicksSinceChange;
        // Each of the three lookups may need a tick of its own; then the
        // day's ticks only open and close the list.
        if (run.presentTicksSinceChange > 3 && memory.reads > reads)
            Fail("a tick with no lookup due read the list");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    static const std::size_t chunks[] = { static_cast<std::size_t>(-1), 1, 2, 3, 7, 100, 101, 512 };
    int ticks = 1 + (data[0] & 0x0F);
    std::size_t header = 1 + 3 * static_cast<std::size_t>(ticks);
    if (size < header)
        return 0;

    Run run;
    run.list.assign(reinterpret_cast<const char*>(data + header), size - header);
    run.chunk = chunks[(data[0] >> 4) & 7];

    MemoryList memory;
    memory.bytes = run.list;
    memory.chunk = run.chunk;
    MemoryList back;   // the list put back while the error box is open
    back.bytes = run.list;
    back.chunk = run.chunk;

    for (int t = 0; t < ticks; ++t) {
        const std::uint8_t* tick = data + 1 + 3 * t;
        int day = tick[0] % 33;
        int month = tick[1] % 14;
        std::uint8_t flags = tick[2];
        memory.present = (flags & 2) == 0;
        memory.onReport = nullptr;
        if (flags & 4)
            memory.onReport = [&] { CheckedTick(run, back, day, month, false); };
        CheckedTick(run, memory, day, month, (flags & 1) != 0);
    }
    if (run.days.listErrorShown != (run.reportedBefore ? 1 : 0))
        Fail("the report's flag does not match the reports");
    return 0;
}
