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

# Windows keeps the stack 16-byte aligned at best (4 on 32-bit), and GCC
# cannot align it further there, so a vector the vector kernels spill to it
# may sit unaligned: the assembler makes every aligned vector move an
# unaligned one, and 32-bit code realigns the stack where it needs to. For
# every file and the link alike, or link-time optimisation drops them.
set(sif_mingw_flags "-Wa,-muse-unaligned-vector-move")
if(SIF_MINGW_TRIPLE MATCHES "^i686")
  string(APPEND sif_mingw_flags " -mstackrealign")
endif()
set(CMAKE_C_FLAGS_INIT "${sif_mingw_flags}")
set(CMAKE_CXX_FLAGS_INIT "${sif_mingw_flags}")

# Static runtime: the programs import only DLLs that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static ${sif_mingw_flags}")

# Tests run under Wine; the script refuses programs it cannot really run.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tools/wine-run.sh)
