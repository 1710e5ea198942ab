// The name-day list and the lookup of today's name.
//
// The list jmena.txt is plain text: one line per date, "06.12.;Mikuláš",
// fields separated by ";" (a run of separators is one separator), the date
// exactly as "%02d.%02d." writes day and month, then the name; further
// fields are ignored. Lines hold at most 99 characters. Only the first 366
// lines are consulted; the first line with today's date wins.
//
// This is the part of the name days that needs no operating system: the
// list comes in as bytes through a NameListAccess, so the same rules run in
// the program and, natively, under the tests and the fuzzer.
#ifndef TIKAVO_NAMELIST_H
#define TIKAVO_NAMELIST_H

#include <cstddef>
#include <string>

// The lines of the list hold at most this many characters.
constexpr int maxListLineLength = 99;
// Only this many lines are consulted on one tick, by all its lookups together.
constexpr int maxListLinesRead = 366;

// The fields of the line a lookup split last.
struct LineFields {
    char date[maxListLineLength + 1];
    char name[maxListLineLength + 1];
    bool hasName;
};

// What the name-day step remembers from tick to tick; the program keeps one
// for its run.
struct NameDays {
    // Today's name; empty until a lookup has found one, and empty after a
    // lookup that found no name for today.
    std::string todayName;
    // The day and month whose lookup ran last; 0 before the first.
    int lastDay = 0, lastMonth = 0;
    // The lookups due besides a new day's: the run's first, and one after the
    // list was edited or saved. Each stays due until a tick has run it.
    bool firstLookupDue = true;
    bool editLookupDue = false;
    // A failed open of the list has been reported; never cleared.
    bool listErrorShown = false;
};

// The edit command's request once the editor has been closed: the list is
// read again on the next tick on which it opens, edited or not.
void RequestLookupAfterEdit(NameDays& days);

// What opening the list for a tick found (saved: since it was last opened).
enum class ListOpen { failed, opened, saved };

// How one tick reaches the list. The program opens jmena.txt beside itself;
// the tests and the fuzzer hand in bytes of their own.
struct NameListAccess {
    // Opens the list for this tick.
    ListOpen (*open)(void* context);
    // Reads up to size bytes of the open list into buffer; returns how many,
    // 0 at the end of the list or when it cannot be read further.
    std::size_t (*read)(void* context, char* buffer, std::size_t size);
    // Closes the list that open opened.
    void (*close)(void* context);
    // Tells the user that the list cannot be opened (once per run).
    void (*reportOpenFailure)(void* context);
    void* context;
};

// The list as one tick reads it (the program's finSoubor): lines in text
// mode through a small fixed buffer, and the count of lines this tick has
// read.
struct NameListStream {
    const NameListAccess* access;
    char buffer[512];
    std::size_t next;       // first unread byte in buffer
    std::size_t end;        // end of the bytes in buffer
    bool started;           // the start of the list (a byte-order mark) is behind us
    bool exhausted;         // read has reported the end of the list
    bool failed;            // the failed state: no further line is read
    int linesRead;
};

// Makes a stream over an opened list, before its first byte.
void StartListStream(NameListStream& finSoubor, const NameListAccess& access);

// Reads the next line into etxt (room for maxListLineLength + 1): up to 99
// characters without the line end; a CR in front of the LF is dropped, a UTF-8
// byte-order mark at the start of the list is skipped. A longer line gives
// its first 99 characters and puts the stream in the failed state; at the
// end of the list, or on a stream already failed, the line is empty and the
// stream is (or stays) failed.
void ReadListLine(NameListStream& finSoubor, char* etxt);

// Splits a line at ";" into fields, empty fields not counted. With at least
// one field, the first becomes lineFields' date and the second its name (or
// no name); a line without fields leaves lineFields as they were. The line is
// cut into its fields in place.
void SplitListLine(char* etxt, LineFields& lineFields);

// One lookup: reads on from where the tick's stream stands until the current
// lineFields carry listKey as their date (true) or the tick has read 366
// lines or the stream has failed (false).
bool ScanNameList(NameListStream& finSoubor, const char* listKey, LineFields& lineFields);

// The name-day step of a tick over any list: opens the list, reports a failed
// open once per run (the tick then ends: false), and runs the lookups that
// are due, in their order: a new day, the first lookup of the run, a lookup
// after an edit or a save. True when the tick goes on to write the title.
bool RunNameDayStep(NameDays& days, int day, int month, const NameListAccess& access);

// A name read from a list saved as UTF-8: when name is valid UTF-8, holds at
// least one multi-byte sequence and every one of its characters exists in
// Windows-1250, writes it converted into out (room for strlen(name) + 1) and
// returns true. Otherwise returns false and leaves out alone.
bool ConvertUtf8Name(const char* name, char* out);

#endif
