# Cross build of the 32-bit Windows programs (the deliverables).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KAVRIN_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)
