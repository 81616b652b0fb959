# Helpers for the Windows builds.

find_program(TELVANE_DLLTOOL ${TELVANE_MINGW_PREFIX}-dlltool REQUIRED)
find_program(TELVANE_WIDL ${TELVANE_MINGW_PREFIX}-widl REQUIRED)
find_program(TELVANE_OBJDUMP ${TELVANE_MINGW_PREFIX}-objdump REQUIRED)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(TELVANE_WIN32_BITS 32)
else()
    set(TELVANE_WIN32_BITS 64)
endif()

# An import library for a DLL from a .def whose names carry their i686 stdcall
# sizes (Name@N). Imports are by plain name on both targets, so any build of
# the DLL with those exports can be deployed beside its users.
function(telvane_import_library target def_in)
    file(READ ${def_in} def_text)
    if(TELVANE_WIN32_BITS EQUAL 64)
        string(REGEX REPLACE "@[0-9]+" "" def_text "${def_text}")
    endif()
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${target}.def)
    file(WRITE ${def} "${def_text}")
    set(lib ${CMAKE_CURRENT_BINARY_DIR}/lib${target}.a)
    add_custom_command(OUTPUT ${lib}
        COMMAND ${TELVANE_DLLTOOL} --kill-at -d ${def} -l ${lib}
        DEPENDS ${def_in}
        COMMENT "Import library ${target}")
    add_custom_target(${target}_implib DEPENDS ${lib})
    add_library(${target} STATIC IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib})
    add_dependencies(${target} ${target}_implib)
endfunction()

# A DLL exported through a .def under undecorated names.
function(telvane_dll target output_name)
    set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME ${output_name})
    if(TELVANE_WIN32_BITS EQUAL 32)
        target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup)
    endif()
endfunction()
