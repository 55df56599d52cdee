# The ui/ and engine/ code must build without the toolkit: no source there
# includes a Qt header, and none is compiled with a Qt include path. The
# engine reaches the operating system only through platform/ headers.
# Run as: cmake -DSOURCE_DIR=... -DCOMPILE_COMMANDS=... -P check_no_toolkit.cmake

file(GLOB_RECURSE sources ${SOURCE_DIR}/ui/*.h ${SOURCE_DIR}/ui/*.cpp
     ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp)
foreach(source ${sources})
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q|qt)")
  if(includes)
    message(FATAL_ERROR "${source} includes a toolkit header: ${includes}")
  endif()
endforeach()
file(GLOB_RECURSE engine_sources ${SOURCE_DIR}/engine/*.h ${SOURCE_DIR}/engine/*.cpp)
foreach(source ${engine_sources})
  file(STRINGS ${source} includes
       REGEX "^[ \t]*#[ \t]*include[ \t]*<(windows|io|unistd|fcntl|signal|sys/[a-z_]+)\\.h>")
  if(includes)
    message(FATAL_ERROR "${source} includes an OS header itself: ${includes}")
  endif()
endforeach()

file(READ ${COMPILE_COMMANDS} json)
string(JSON count LENGTH "${json}")
math(EXPR last "${count} - 1")
set(checked 0)
foreach(i RANGE ${last})
  string(JSON file GET "${json}" ${i} file)
  if(file MATCHES "^${SOURCE_DIR}/(ui|engine)/")
    string(JSON command GET "${json}" ${i} command)
    if(command MATCHES "[Qq]t6|/qt5?/|Qt(Core|Gui|Widgets)")
      message(FATAL_ERROR "${file} is compiled with a toolkit path:\n${command}")
    endif()
    math(EXPR checked "${checked} + 1")
  endif()
endforeach()
if(checked LESS 4)
  message(FATAL_ERROR "only ${checked} ui/engine sources found in ${COMPILE_COMMANDS}")
endif()
message(STATUS "${checked} ui/engine sources compile without the toolkit")
