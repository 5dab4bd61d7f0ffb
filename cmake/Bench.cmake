# The benchmark's programs (scripts/bench.sh), kept apart from the tests. Windows: the
# floor program, an empty program and an empty window program, each built as
# Varnholt.exe is, and the driver that starts them and the client. Native: the
# Favorites rewrite of the portable core.
if(VARNHOLT_TARGET STREQUAL "mingw")
  foreach(name FloorProgram EmptyProgram EmptyWindow)
    add_executable(${name} WIN32 ${CMAKE_SOURCE_DIR}/bench/${name}.cpp)
    target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
    target_link_options(${name} PRIVATE ${STATIC_RUNTIME} -municode -mwindows -s -Wl,--gc-sections)
  endforeach()
  add_executable(BenchDriver ${CMAKE_SOURCE_DIR}/bench/BenchDriver.cpp)
  target_compile_options(BenchDriver PRIVATE ${VARNHOLT_WARNINGS})
  target_link_options(BenchDriver PRIVATE ${STATIC_RUNTIME} -municode)
  target_link_libraries(BenchDriver PRIVATE varnholt_win test_support)
else()
  add_executable(RewriteBench ${CMAKE_SOURCE_DIR}/bench/RewriteBench.cpp)
  target_compile_options(RewriteBench PRIVATE ${VARNHOLT_WARNINGS})
  target_link_libraries(RewriteBench PRIVATE varnholt_core)
endif()
