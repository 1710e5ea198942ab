// Name lists for the tests of the name-day lookup that run without Windows
// (the core tests and the fuzzer): a list held in memory or a real file,
// handed to a tick through the same access the program uses for jmena.txt,
// and a record of what the ticks did with it.
#ifndef TIKAVO_TESTS_MEMORYLIST_H
#define TIKAVO_TESTS_MEMORYLIST_H

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "namedays/namelist.h"

namespace testsupport {

// Opens a file whose path is UTF-8 (the source tree's path may hold any
// letters; on Windows a narrow path would be read in the ANSI code page).
inline std::FILE* OpenForReading(const std::string& path)
{
#ifdef _WIN32
    return _wfopen(std::filesystem::u8path(path).c_str(), L"rb");
#else
    return std::fopen(path.c_str(), "rb");
#endif
}

// A whole file as bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path)
{
    std::string bytes;
    if (std::FILE* file = OpenForReading(path)) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
            bytes.append(buffer, n);
        std::fclose(file);
    }
    return bytes;
}

struct MemoryList {
    std::string bytes;
    bool present = true;                  // false: the list cannot be opened
    std::size_t chunk = static_cast<std::size_t>(-1);   // most bytes one read hands out
    std::function<void()> onReport;       // runs inside the report, like ticks inside the box

    int opens = 0;        // successful opens
    int closes = 0;
    int failedOpens = 0;
    int reports = 0;
    int reads = 0;        // calls of read
    std::size_t bytesRead = 0;
    std::size_t position = 0;

    NameListAccess Access()
    {
        return { &MemoryList::Open, &MemoryList::Read, &MemoryList::Close, &MemoryList::Report, this };
    }

    // One tick's step 7 on this list for the given date.
    bool Tick(NameDays& days, int day, int month)
    {
        NameListAccess access = Access();
        return RunNameDayStep(days, day, month, access);
    }

private:
    static ListOpen Open(void* context)
    {
        auto* list = static_cast<MemoryList*>(context);
        if (!list->present) {
            ++list->failedOpens;
            return ListOpen::failed;
        }
        ++list->opens;
        list->position = 0;
        return ListOpen::opened;
    }
    static std::size_t Read(void* context, char* buffer, std::size_t size)
    {
        auto* list = static_cast<MemoryList*>(context);
        ++list->reads;
        std::size_t n = list->bytes.size() - list->position;
        if (n > size)
            n = size;
        if (n > list->chunk)
            n = list->chunk;
        std::memcpy(buffer, list->bytes.data() + list->position, n);
        list->position += n;
        list->bytesRead += n;
        return n;
    }
    static void Close(void* context) { ++static_cast<MemoryList*>(context)->closes; }
    static void Report(void* context)
    {
        auto* list = static_cast<MemoryList*>(context);
        ++list->reports;
        if (list->onReport)
            list->onReport();
    }
};

// A list in a real file, read through the C library like any other file.
struct FileList {
    std::string path;
    std::FILE* file = nullptr;
    int opens = 0;
    int closes = 0;
    std::size_t bytesRead = 0;

    bool Tick(NameDays& days, int day, int month)
    {
        NameListAccess access = { &FileList::Open, &FileList::Read, &FileList::Close, &FileList::Report, this };
        return RunNameDayStep(days, day, month, access);
    }

private:
    static ListOpen Open(void* context)
    {
        auto* list = static_cast<FileList*>(context);
        list->file = OpenForReading(list->path);
        if (list->file)
            ++list->opens;
        return list->file ? ListOpen::opened : ListOpen::failed;
    }
    static std::size_t Read(void* context, char* buffer, std::size_t size)
    {
        auto* list = static_cast<FileList*>(context);
        std::size_t n = std::fread(buffer, 1, size, list->file);
        list->bytesRead += n;
        return n;
    }
    static void Close(void* context)
    {
        auto* list = static_cast<FileList*>(context);
        std::fclose(list->file);
        list->file = nullptr;
        ++list->closes;
    }
    static void Report(void*) {}
};

}  // namespace testsupport

#endif
