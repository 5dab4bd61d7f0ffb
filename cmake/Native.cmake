# Portable core and its unit tests, under AddressSanitizer and UndefinedBehaviorSanitizer
# (the benchmark's build times the core without them).
option(VARNHOLT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" ON)
if(VARNHOLT_SANITIZE)
  set(SANITIZE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_compile_options(${SANITIZE})
  add_link_options(${SANITIZE})
endif()
# scripts/fuzz.sh: everything instrumented for libFuzzer, and only the fuzz targets built.
option(VARNHOLT_FUZZ "Build the fuzz targets for libFuzzer (clang++)" OFF)
if(VARNHOLT_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

add_library(varnholt_core STATIC ${VARNHOLT_CORE_SOURCES} ${VARNHOLT_NATIVE_SOURCES})
varnholt_core_settings(varnholt_core)
include(cmake/Fuzz.cmake)
if(VARNHOLT_FUZZ)
  return()
endif()

file(GLOB UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
# The version the tests expect to see, as the Windows tests read it (tests/support).
add_executable(unit_tests ${UNIT_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/BuildVersion.cpp)
target_link_libraries(unit_tests PRIVATE varnholt_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${VARNHOLT_WARNINGS})
include(GoogleTest)
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS unit)

# Randomized property runs and fuzz-style drivers of the core live beside the unit tests.
file(GLOB PROPERTY_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/property/*.cpp)
foreach(src IN LISTS PROPERTY_TESTS)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_link_libraries(${name} PRIVATE varnholt_core)
  target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
  add_test(NAME property.${name} COMMAND ${name})
  set_tests_properties(property.${name} PROPERTIES LABELS property)
endforeach()
