# The sample's pages in real script engines (CTest label "pages"): their scripts parse as
# ECMAScript 3, and what the real Varnholt.exe writes is read back by them in headless
# Chromium and, each test twice, in node and in the viewer's kind of engine, Wine's JScript
# (scripts/install-deps.sh provides nodejs, node-acorn and chromium; cscript.exe is Wine's).
find_program(NODE_PROGRAM node)
if(NOT NODE_PROGRAM)
  message(STATUS "node not found: the pages tests are left out")
  return()
endif()
set(PAGES_TESTS ${CMAKE_SOURCE_DIR}/tests/pages)
add_test(NAME pages.es3_syntax COMMAND ${NODE_PROGRAM} --test ${PAGES_TESTS}/Es3Syntax.test.js)
set_tests_properties(pages.es3_syntax PROPERTIES LABELS pages)
if(CMAKE_CROSSCOMPILING)
  foreach(engine node jscript)
    foreach(name FavoritesPage FavoritesAgreement)
      add_test(NAME pages.${name}.${engine}
        COMMAND ${NODE_PROGRAM} --test ${PAGES_TESTS}/${name}.test.js)
      set_tests_properties(pages.${name}.${engine} PROPERTIES LABELS pages
        FIXTURES_REQUIRED wine RESOURCE_LOCK wine_desktop TIMEOUT 600 ENVIRONMENT
        "VARNHOLT_PAGE_ENGINE=${engine};VARNHOLT_EXE=$<TARGET_FILE:Varnholt>;VARNHOLT_TESTBED=${TESTBED};VARNHOLT_WINE_RUN=${CMAKE_SOURCE_DIR}/tests/scripts/wine-run.sh")
    endforeach()
  endforeach()
endif()
