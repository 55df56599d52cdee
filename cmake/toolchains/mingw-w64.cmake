# Shared by the two MinGW-w64 toolchain files, which set SIF_MINGW_TRIPLE.
# The -posix compilers: GoogleTest needs std::thread, which the win32 thread
# model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${SIF_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SIF_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SIF_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SIF_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Static runtime: the programs import only DLLs that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine; the script refuses programs it cannot really run.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tools/wine-run.sh)
