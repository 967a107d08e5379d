# The x86_64 mingw-w64 build compiled by clang instead of GCC: the same
# target, Windows headers, import libraries and C++ library (GCC's libstdc++,
# -posix flavour) as toolchain-x86_64-w64-mingw32.cmake, another compiler.
# tools/test-all.sh builds both programs with it (build/clang) to keep the
# code free of one compiler's extensions; nothing of it is shipped or run.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KAVRIN_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/MingwToolchain.cmake)

set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${KAVRIN_MINGW_PREFIX})
set(CMAKE_CXX_COMPILER_TARGET ${KAVRIN_MINGW_PREFIX})
# The archiver of the mingw-w64 binutils, which the GCC build uses too
# (clang alone does not bring llvm-ar).
find_program(CMAKE_AR ${KAVRIN_MINGW_PREFIX}-ar REQUIRED)
find_program(CMAKE_RANLIB ${KAVRIN_MINGW_PREFIX}-ranlib REQUIRED)

# Clang 14 looks for GCC's files in /usr/lib/gcc/<target>/<version>, but
# Debian names those folders 12-posix and 12-win32, which it does not take
# for versions; without a sysroot it would even search the host's
# /usr/include. So: the mingw-w64 sysroot, and GCC's folder as the -posix
# compiler reports it, for libstdc++'s headers, crtbegin.o and libgcc.
set(CMAKE_SYSROOT /usr/${KAVRIN_MINGW_PREFIX})
execute_process(COMMAND ${KAVRIN_MINGW_PREFIX}-g++-posix -print-libgcc-file-name
    OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE found)
if(NOT found EQUAL 0 OR NOT EXISTS "${libgcc}")
    message(FATAL_ERROR "${KAVRIN_MINGW_PREFIX}-g++-posix not found (tools/install-deps.sh installs it)")
endif()
get_filename_component(gcc_dir ${libgcc} DIRECTORY)
set(cxx_include ${gcc_dir}/include/c++)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
    ${cxx_include} ${cxx_include}/${KAVRIN_MINGW_PREFIX} ${cxx_include}/backward)
# GCC's driver links the posix flavour's libgcc_eh with winpthread; clang's
# does so for -pthread.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-B${gcc_dir} -L${gcc_dir} -pthread")
