# Warnings and platform flags shared by every target of the project.
add_library(kavrin_options INTERFACE)
if(MSVC)
    target_compile_options(kavrin_options INTERFACE /W4 /permissive- /utf-8 /EHsc
        $<$<BOOL:${KAVRIN_WERROR}>:/WX>)
else()
    target_compile_options(kavrin_options INTERFACE -Wall -Wextra -Wpedantic
        $<$<BOOL:${KAVRIN_WERROR}>:-Werror>)
endif()
# Only the generated headers: each library publishes its own folder
# (cmake/Layers.cmake).
target_include_directories(kavrin_options INTERFACE ${CMAKE_BINARY_DIR}/generated)

if(KAVRIN_WINDOWS)
    target_compile_definitions(kavrin_options INTERFACE
        UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
    # A test build that counts the handles its RAII wrappers hold
    # (framework/Handles_win.h); never the deliverables' build.
    option(KAVRIN_COUNT_HANDLES "Count live handles per kind in the RAII wrappers" OFF)
    if(KAVRIN_COUNT_HANDLES)
        target_compile_definitions(kavrin_options INTERFACE FRAMEWORK_COUNT_HANDLES)
    endif()
    if(MSVC)
        set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
    else()
        # Only system DLLs at run time: the C++ runtime is linked in.
        target_link_options(kavrin_options INTERFACE -static -static-libgcc -static-libstdc++)
    endif()
elseif(KAVRIN_SANITIZE)
    target_compile_options(kavrin_options INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(kavrin_options INTERFACE -fsanitize=address,undefined)
endif()
