# The benchmark's programs (scripts/bench.sh), kept apart from the tests. Windows: the
# floor program, each command's own floor, an empty program and an empty window program,
# each built as Varnholt.exe is, and the driver that starts them and the client. Native: the
# Favorites rewrite of the portable core.
if(VARNHOLT_TARGET STREQUAL "mingw")
  foreach(name FloorProgram EmptyProgram EmptyWindow)
    add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/bench/${name}.cpp)
    target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
    target_link_options(${name} PRIVATE ${STATIC_RUNTIME} -municode -mwindows -s -Wl,--gc-sections)
  endforeach()
  # Each command's own floor: the system calls it must make (bench/CommandFloor.cpp).
  # It carries the client's manifest, as a message box's cost depends on it, and loads the
  # shell and COM only when its command calls into them, as the client does: a floor
  # that loads more than its command is no floor.
  file(WRITE ${CMAKE_BINARY_DIR}/generated/CommandFloor.rc
    "1 24 \"${CMAKE_BINARY_DIR}/generated/Varnholt.manifest\"\n")
  add_executable(CommandFloor WIN32 ${CMAKE_SOURCE_DIR}/bench/CommandFloor.cpp
    ${CMAKE_BINARY_DIR}/generated/CommandFloor.rc)
  target_compile_options(CommandFloor PRIVATE ${VARNHOLT_WARNINGS})
  target_include_directories(CommandFloor PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_options(CommandFloor PRIVATE ${STATIC_RUNTIME} -mwindows -s -Wl,--gc-sections)
  target_link_libraries(CommandFloor PRIVATE varnholt_win)
  varnholt_delay_load(CommandFloor)
  add_executable(BenchDriver ${CMAKE_SOURCE_DIR}/bench/BenchDriver.cpp)
  target_compile_options(BenchDriver PRIVATE ${VARNHOLT_WARNINGS})
  target_link_options(BenchDriver PRIVATE ${STATIC_RUNTIME} -municode)
  target_link_libraries(BenchDriver PRIVATE varnholt_win test_support)
else()
  add_executable(RewriteBench ${CMAKE_SOURCE_DIR}/bench/RewriteBench.cpp)
  target_compile_options(RewriteBench PRIVATE ${VARNHOLT_WARNINGS})
  target_link_libraries(RewriteBench PRIVATE varnholt_core)
endif()
