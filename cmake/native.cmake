# Native Linux build of the core: fast tests under AddressSanitizer and
# UndefinedBehaviorSanitizer (and libFuzzer targets where clang is the compiler).
set(TIKAVO_SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
# Off in the plain tree (valgrind's memcheck and the benchmarks).
option(TIKAVO_SANITIZERS "Build the core and its tests with ASan and UBSan" ON)
if(TIKAVO_SANITIZERS)
  add_compile_options(${TIKAVO_SANITIZE})
  add_link_options(-fsanitize=address,undefined)
endif()

find_package(GTest REQUIRED)
set(TIKAVO_GTEST GTest::gtest GTest::gtest_main)
