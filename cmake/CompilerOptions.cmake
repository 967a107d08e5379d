# Warnings and platform flags shared by every target of the project.
add_library(kavrin_options INTERFACE)
target_compile_options(kavrin_options INTERFACE -Wall -Wextra -Wpedantic
    $<$<BOOL:${KAVRIN_WERROR}>:-Werror>)
target_include_directories(kavrin_options INTERFACE
    ${PROJECT_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)

if(KAVRIN_WINDOWS)
    target_compile_definitions(kavrin_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
    # Only system DLLs at run time: the C++ runtime is linked in.
    target_link_options(kavrin_options INTERFACE -static -static-libgcc -static-libstdc++)
elseif(KAVRIN_SANITIZE)
    target_compile_options(kavrin_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(kavrin_options INTERFACE -fsanitize=address,undefined)
endif()
