# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 compilers (posix thread model, so
# std::thread and std::mutex work): cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORDINEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORDINEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORDINEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ORDINEL_MINGW_TRIPLE}-windres)

# Libraries and headers only from the MinGW-w64 tree; programs (Wine, objdump) from the build host.
set(CMAKE_FIND_ROOT_PATH /usr/${ORDINEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
