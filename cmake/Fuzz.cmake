# The fuzz targets of the portable core, tests/fuzz/*Fuzz.cpp. Built with VARNHOLT_FUZZ
# (clang++, scripts/fuzz.sh) each is a libFuzzer program; otherwise each replays its
# checked-in corpus, tests/fuzz/corpus/<target>/, as a property test.
file(GLOB FUZZ_TARGETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*Fuzz.cpp)
if(VARNHOLT_FUZZ)
  add_custom_target(fuzz_targets)
endif()
foreach(src IN LISTS FUZZ_TARGETS)
  get_filename_component(name ${src} NAME_WE)
  if(VARNHOLT_FUZZ)
    add_executable(${name} ${src})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(fuzz_targets ${name})
  else()
    add_executable(${name} ${src} ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    target_compile_definitions(${name} PRIVATE
      VARNHOLT_FUZZ_CORPUS="${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name}")
    add_test(NAME property.${name} COMMAND ${name})
    set_tests_properties(property.${name} PROPERTIES LABELS property)
  endif()
  target_link_libraries(${name} PRIVATE varnholt_core)
  target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
endforeach()
