# Cross build of the same sources as 64-bit programs, for hosts that cannot
# run 32-bit x86 code (tests run there under wine64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAVRIN_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
