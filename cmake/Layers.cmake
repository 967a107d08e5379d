# The build enforces the layers: a library publishes its own folder's headers
# through an include root of its own in the build tree, so a target can
# include "folder/Header.h" only for the folders of the libraries it links.
# Where the file system has no symbolic links the project root stands in
# (the build then works but no longer checks the layers).
set(KAVRIN_LAYER_ROOT ${CMAKE_BINARY_DIR}/layers)

function(kavrin_publish_folder target folder)
    set(root ${KAVRIN_LAYER_ROOT}/${folder})
    set(link ${root}/${folder})
    if(NOT IS_SYMLINK ${link} AND NOT EXISTS ${link})
        get_filename_component(parent ${link} DIRECTORY)
        file(MAKE_DIRECTORY ${parent})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${link} RESULT linked SYMBOLIC)
        if(NOT linked EQUAL 0)
            set(root ${PROJECT_SOURCE_DIR})
        endif()
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
