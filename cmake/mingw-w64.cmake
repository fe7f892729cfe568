# Cross-build for 64-bit Windows with the posix-thread flavour of mingw-w64
# (the win32 flavour has no std::thread / std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything runs on a bare Windows: no mingw runtime DLLs beside the executables. Sections
# aligned to pages in the file let the loader map them instead of copying them into private
# memory (Wine copies an image whose sections are not page-aligned: 1.8 MiB of the program,
# 0.3 MiB of each driver library).
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--file-alignment,4096")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -Wl,--file-alignment,4096")
# ctest runs the Windows test executables through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run")
