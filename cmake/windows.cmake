# Windows (mingw-w64 i686) build: the program, its in-process tests and its
# end-to-end tests, the cross-built ones run by ctest through the Wine harness.
add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0800 NOMINMAX)

# Static, reproducible executables: no runtime DLLs, no link timestamp.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--no-insert-timestamp)

set(TIKAVO_WIN_LIBS user32 gdi32 shell32 shlwapi comctl32 winmm)

# GoogleTest from its sources (Debian's package googletest puts them under
# /usr/src), cross-compiled with the posix compiler.
find_path(GOOGLETEST_SOURCE_DIR googletest/include/gtest/gtest.h PATH_SUFFIXES src/googletest
          NO_CMAKE_FIND_ROOT_PATH REQUIRED DOC "GoogleTest's sources (the folder with googletest/)")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
set(TIKAVO_GTEST gtest gtest_main)

# The Wine harness: a private prefix and Xvfb per build tree, kept up by a
# ctest fixture for the duration of a test run.
set(TIKAVO_WINE_STATE ${CMAKE_BINARY_DIR}/wine)
set(TIKAVO_WINE_STATE_EN ${CMAKE_BINARY_DIR}/wine-en)   # code page 1252: the "locale" tests
set(TIKAVO_HARNESS ${CMAKE_SOURCE_DIR}/scripts/wine-harness.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TIKAVO_HARNESS};exec;${TIKAVO_WINE_STATE};wine)
