# The posix thread model gives the full C++ threading library; libgcc,
# libstdc++ and winpthread are all linked statically, so the binaries need no
# runtime DLLs beyond Windows' own.
set(CMAKE_C_COMPILER ${TELVANE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELVANE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TELVANE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TELVANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
