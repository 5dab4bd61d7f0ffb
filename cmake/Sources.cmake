# Source lists by naming rule:
#   <folder>/*.cpp         portable core, never includes <windows.h>
#   <folder>/*.win.cpp     thin Win32 code, built for Windows only
#   <folder>/*.native.cpp  what the system gives the Windows build, for the native build only
set(VARNHOLT_FOLDERS app registry viewer favorites about text controls platform)
set(VARNHOLT_CORE_SOURCES)
set(VARNHOLT_WIN_SOURCES)
set(VARNHOLT_NATIVE_SOURCES)
foreach(folder IN LISTS VARNHOLT_FOLDERS)
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  foreach(src IN LISTS all)
    if(src MATCHES "\\.win\\.cpp$")
      list(APPEND VARNHOLT_WIN_SOURCES ${src})
    elseif(src MATCHES "\\.native\\.cpp$")
      list(APPEND VARNHOLT_NATIVE_SOURCES ${src})
    else()
      list(APPEND VARNHOLT_CORE_SOURCES ${src})
    endif()
  endforeach()
endforeach()
# The program's entry is Varnholt.exe's own; the libraries the tests link leave it out.
list(FILTER VARNHOLT_WIN_SOURCES EXCLUDE REGEX "/app/Main\\.win\\.cpp$")

set(VARNHOLT_WARNINGS -Wall -Wextra -Werror)

function(varnholt_core_settings target)
  target_include_directories(${target} PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
  target_compile_options(${target} PRIVATE ${VARNHOLT_WARNINGS})
endfunction()
