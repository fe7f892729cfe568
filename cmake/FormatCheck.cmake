# Fails when any C++ source of ours differs from what clang-format would make of it.
file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/drivers/*.h ${ROOT}/drivers/*.cpp ${ROOT}/fuzz/*.h ${ROOT}/fuzz/*.cpp
     ${ROOT}/bench/*.cpp)
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${sources} RESULT_VARIABLE rc
                ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "not clang-formatted (run clang-format -i on these):\n${out}")
endif()
