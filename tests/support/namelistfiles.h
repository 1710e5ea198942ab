// Name lists on disk and the editor the program opens them in, for the
// tests that run the glue in-process and the program itself.
#ifndef TIKAVO_TESTS_NAMELISTFILES_H
#define TIKAVO_TESTS_NAMELISTFILES_H

#include <windows.h>

#include <string>

namespace testsupport {

// Writes bytes as the whole content of a file; false on failure.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// A list in the program's format giving one name (Windows-1250 bytes) on
// every date of the year, so that a test crossing midnight sees it too.
std::string EveryDayList(const std::string& name);

// The name the shipped jmena.txt (UTF-8) gives for a date, found by a plain
// search for the line's start; empty when it has none.
std::wstring ShippedName(int day, int month);

// Whether a title is "Dokument  * <day> - d.m.yyyy - hh:mm:ss * <name> *".
bool ShowsName(const std::wstring& title, const std::wstring& name);

// A visible notepad window whose title names jmena.txt, waited for up to
// timeoutMs without dispatching messages (usable from any thread).
HWND WaitForNotepad(DWORD timeoutMs);

// Ends a notepad left open by a failed test: asks it to close, then ends its
// process (found by its window) if it is still running.
void EndNotepad(HWND notepad);
// Ends every such notepad still open (left by a test killed half-way).
void EndLeftNotepads();

}  // namespace testsupport

#endif
