# System libraries loaded on their first call instead of at process start.
#
# Under Wine every library the loader maps at start costs requests to the server (the file, its
# mapping, its start-up code), and a second start, which only hands over to the running program,
# pays for all of them. GDI+ is needed only for a menu, COM only for pictures the program's own
# decoder does not read, the shell for the notification icon and the desktop folder, the file
# dialogs for import and export: none of them before the main window is on the screen. The common
# controls are needed for the first window, and the start loads them (InitCommonControlsEx) once
# it knows it is the first instance.
#
# t30_delay_import(NAME DLL) makes the target t30::delay::NAME: an import library for DLL whose
# entries go through mingw-w64's delay-load helper. Its entries are those of the toolchain's
# import library libNAME.a, so every function the program may call is in it.
function(t30_delay_import name dll)
    set(target t30_delay_${name})
    if(TARGET ${target})
        return()
    endif()
    find_library(T30_IMPORT_LIB_${name} NAMES lib${name}.a REQUIRED)
    set(dir ${CMAKE_BINARY_DIR}/delay_imports)
    file(MAKE_DIRECTORY ${dir})
    execute_process(COMMAND ${CMAKE_NM} -g ${T30_IMPORT_LIB_${name}}
                    OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
    string(REGEX MATCHALL " I __imp_[A-Za-z0-9_@?]+" entries "${symbols}")
    list(TRANSFORM entries REPLACE " I __imp_" "")
    list(REMOVE_DUPLICATES entries)
    list(SORT entries)
    if(NOT entries)
        message(FATAL_ERROR "no entries found in ${T30_IMPORT_LIB_${name}}")
    endif()
    list(JOIN entries "\n" exports)
    file(WRITE ${dir}/${name}.def.new "LIBRARY ${dll}\nEXPORTS\n${exports}\n")
    # Rewritten only when it changes, so a new configure does not relink everything.
    file(COPY_FILE ${dir}/${name}.def.new ${dir}/${name}.def ONLY_IF_DIFFERENT)
    file(REMOVE ${dir}/${name}.def.new)
    set(lib ${dir}/lib${name}_delay.a)
    if(NOT EXISTS ${lib} OR ${dir}/${name}.def IS_NEWER_THAN ${lib})
        execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${dir}/${name}.def --dllname ${dll}
                                --output-delaylib ${lib}
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()
    add_library(${target} STATIC IMPORTED GLOBAL)
    # The toolchain's library after it, for the few parts that are not entries of the DLL (GDI+
    # keeps some data of its C++ classes there).
    set_target_properties(${target} PROPERTIES IMPORTED_LOCATION ${lib}
                                               INTERFACE_LINK_LIBRARIES ${name})
    add_library(t30::delay::${name} ALIAS ${target})
endfunction()

if(WIN32 AND MINGW)
    t30_delay_import(comctl32 COMCTL32.dll)
    t30_delay_import(comdlg32 comdlg32.dll)
    t30_delay_import(gdiplus gdiplus.dll)
    t30_delay_import(ole32 ole32.dll)
    t30_delay_import(oleaut32 OLEAUT32.dll)
    t30_delay_import(shell32 SHELL32.dll)
endif()
