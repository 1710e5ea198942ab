// Where an item of the program's tray menu stands, for the end-to-end
// scripts, which choose it with the keys: they name it by its text, so a new
// item moves nothing they choose.
//   menu_item.exe PROGRAM_EXE TEXT
// prints how many times Down reaches the item (separators are skipped, greyed
// items are not) in the menu RTRAYMENU of the executable; exits with 1 when
// it has no such item.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 2;
    HMODULE program = LoadLibraryExW(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HMENU menu = program ? LoadMenuW(program, L"RTRAYMENU") : nullptr;
    HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
    int downs = 0;
    for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
        if (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR)
            continue;
        ++downs;
        wchar_t text[128] = L"";
        GetMenuStringW(popup, static_cast<UINT>(i), text, ARRAYSIZE(text), MF_BYPOSITION);
        if (std::wcscmp(text, argv[2]) == 0) {
            std::printf("%d\n", downs);
            return 0;
        }
    }
    std::fprintf(stderr, "no item \"%ls\" in the tray menu of %ls\n", argv[2], argv[1]);
    return 1;
}
