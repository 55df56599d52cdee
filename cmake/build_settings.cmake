# sif_build_settings: what every target of ours compiles and links with. Each
# target links it by name; code from elsewhere (GoogleTest built from source)
# keeps its own flags.
add_library(sif_build_settings INTERFACE)

# Everything includes from the source root: "engine/...", "platform/...".
target_include_directories(sif_build_settings INTERFACE ${PROJECT_SOURCE_DIR})

target_compile_options(sif_build_settings INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic $<$<BOOL:${SIFTERON_WERROR}>:-Werror>>)

if(WIN32)
  # Every file sees the same <windows.h> (our headers include it there):
  # the single-byte A functions, and no min/max macros over std::min.
  target_compile_definitions(sif_build_settings INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

if(SIFTERON_SANITIZE)
  target_compile_options(sif_build_settings INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(sif_build_settings INTERFACE -fsanitize=address,undefined)
elseif(SIFTERON_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SIFTERON_FUZZ needs clang++ (libFuzzer)")
  endif()
  # Everything is instrumented for coverage and checked by the sanitizers;
  # only the harnesses link libFuzzer's main.
  target_compile_options(sif_build_settings INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(sif_build_settings INTERFACE -fsanitize=address,undefined)
elseif(NOT WIN32)
  # Hardened as Debian builds its packages (dpkg-buildflags with
  # hardening=+all): stack protector, checked string and memory functions
  # where optimisation lets glibc see the sizes, format checks, and a
  # position-independent program whose relocations are read-only once
  # loaded. Debian's compilers make position-independent code by default
  # (Qt asks for -fPIC on what uses it); -pie fails the link if any is not.
  target_compile_options(sif_build_settings INTERFACE
    $<$<COMPILE_LANGUAGE:CXX>:-fstack-protector-strong -Wformat -Werror=format-security
    $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>>)
  target_link_options(sif_build_settings INTERFACE -pie -Wl,-z,relro,-z,now)
endif()
