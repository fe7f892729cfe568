option(T30_WERROR "Treat compiler warnings as errors" OFF)
option(T30_SANITIZE "Build the native core and its tests with ASan and UBSan" OFF)

# Applied to every target of ours (not to GoogleTest built from source).
function(t30_target_defaults target)
    target_compile_features(${target} PUBLIC cxx_std_17)
    target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${T30_WERROR}>:-Werror>)
    if(WIN32)
        target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                     _WIN32_WINNT=0x0601)
    endif()
endfunction()

if(T30_SANITIZE AND NOT WIN32)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                        -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()
