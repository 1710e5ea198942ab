// The executable as shipped carries its icon, bell, version and manifest.
#include <gtest/gtest.h>

#include <vector>

#include "res/resource.h"
#include "support/winsupport.h"

using namespace testsupport;

namespace {

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST(ShippedExecutable, CarriesTheIconTheBellTheVersionAndTheManifest)
{
    std::wstring exe = WinePath(TIKAVO_EXE);
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);

    // 16 x 16 with 256 colours, and images with an alpha channel at the
    // small-icon sizes of 125 % to 300 %: no display scale stretches one.
    HRSRC group = FindResourceW(module, MAKEINTRESOURCEW(IDI_TRAYICON), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
    ASSERT_NE(group, nullptr);
    auto* icons = static_cast<const IconGroup*>(LockResource(LoadResource(module, group)));
    const int sizes[] = { 16, 20, 24, 28, 32, 36, 40, 48 };
    ASSERT_EQ(icons->count, 8);
    for (int i = 0; i < 8; ++i) {
        const IconGroupEntry& entry = *(icons->entries + i);
        EXPECT_EQ(entry.width, sizes[i]);
        EXPECT_EQ(entry.height, sizes[i]);
        EXPECT_EQ(entry.bitCount, i == 0 ? 8 : 32);
    }

    HRSRC bell = FindResourceA(module, "BELL", "WAVE");
    ASSERT_NE(bell, nullptr);
    DWORD bellBytes = SizeofResource(module, bell);
    const char* wave = static_cast<const char*>(LockResource(LoadResource(module, bell)));
    ASSERT_GT(bellBytes, 44u);
    EXPECT_EQ(std::string(wave, 4), "RIFF");
    DWORD byteRate;
    memcpy(&byteRate, wave + 28, 4);
    double seconds = (bellBytes - 44.0) / byteRate;
    EXPECT_NEAR(seconds, 2.7, 0.2) << "the bell lasts about 2.7 s";

    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24) /* RT_MANIFEST */), nullptr);
    FreeLibrary(module);

    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    char version[32];
    snprintf(version, sizeof version, "%u.%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    EXPECT_STREQ(version, TIKAVO_VERSION);
    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040504E2\\ProductName",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_EQ(std::wstring(name), L"Tikavo_T");
}

}  // namespace
