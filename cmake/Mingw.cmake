# Varnholt.exe for 32-bit Windows, and the Windows test programs that run under Wine.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
add_compile_options(-ffunction-sections -fdata-sections)
# Reproducible: no folder of this build in any output, and (below) no link time stamp.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=. -ffile-prefix-map=${CMAKE_BINARY_DIR}=.)
# Vista's headers: the program runs on Windows Vista and later, so a call to anything
# newer does not compile (and the import check names any that slips through).
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX UNICODE _WIN32_WINNT=0x0600 WINVER=0x0600)
set(STATIC_RUNTIME -static -static-libgcc -static-libstdc++)
set(WIN_LIBS user32 gdi32 advapi32 wbemuuid)
# Varnholt.exe loads these when a command needs them (cmake/DelayLoad.cmake); the test
# programs import them as usual.
set(ON_DEMAND_LIBS shell32 wininet ole32 oleaut32 comctl32 version oleacc)

# One library: the portable core calls into the Win32 code too (letter case comes from
# the system).
add_library(varnholt_win STATIC ${VARNHOLT_CORE_SOURCES} ${VARNHOLT_WIN_SOURCES})
varnholt_core_settings(varnholt_win)
# A run executes most of its code once: the program's size costs more than its speed,
# except in the loops that run once per line or character of a Favorites file.
target_compile_options(varnholt_win PRIVATE -Os)
set_source_files_properties(favorites/FavoritesRewrite.cpp favorites/ScriptString.cpp
  platform/Ansi.win.cpp text/CaseFold.cpp text/TextUtil.cpp
  PROPERTIES COMPILE_OPTIONS -O2)
target_link_libraries(varnholt_win PUBLIC ${WIN_LIBS})
# Test builds: crash points in the Favorites rewrite, chosen by an environment variable
# (favorites/FaultInjection.h). A release build leaves this off.
option(VARNHOLT_FAULT_INJECTION "Crash points for the crash-safety tests" OFF)
if(VARNHOLT_FAULT_INJECTION)
  target_compile_definitions(varnholt_win PUBLIC VARNHOLT_FAULT_INJECTION)
endif()

configure_file(app/Varnholt.manifest.in ${CMAKE_BINARY_DIR}/generated/Varnholt.manifest @ONLY)
configure_file(app/Varnholt.rc.in ${CMAKE_BINARY_DIR}/generated/Varnholt.rc @ONLY)
enable_language(RC)
add_executable(Varnholt WIN32 app/Main.win.cpp ${CMAKE_BINARY_DIR}/generated/Varnholt.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/generated/Varnholt.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/generated/Varnholt.manifest")
target_include_directories(Varnholt PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(Varnholt PRIVATE ${VARNHOLT_WARNINGS} -Os)
target_link_options(Varnholt PRIVATE ${STATIC_RUNTIME} -municode -mwindows -s -Wl,--gc-sections
  -Wl,--no-insert-timestamp)
target_link_libraries(Varnholt PRIVATE varnholt_win)
include(cmake/DelayLoad.cmake)
varnholt_delay_load(Varnholt)

# cmake --install puts the program at the top of the prefix: the prefix is its folder.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX ${CMAKE_BINARY_DIR}/install CACHE PATH "" FORCE)
endif()
install(TARGETS Varnholt RUNTIME DESTINATION .)
include(cmake/Setup.cmake)

# GoogleTest from Debian's sources, built with the same cross compiler.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Test beds: every Windows test program runs through wine-run.sh, which uses a test bed's
# own Wine prefix and Xvfb display: build/mingw/testbed, a 64-bit Windows (fixture wine),
# or for the win32-prefix tier build/mingw/testbed32, a 32-bit one (fixture wine32). Each
# fixture starts and stops its test bed; the two may be up at once.
set(TESTBED ${CMAKE_BINARY_DIR}/testbed)
set(TESTBED32 ${CMAKE_BINARY_DIR}/testbed32)
# On Windows itself the test programs run directly and need no test bed.
if(CMAKE_CROSSCOMPILING)
set(WINE_RUN ${CMAKE_SOURCE_DIR}/tests/scripts/wine-run.sh)
set(TESTBED_SH ${CMAKE_SOURCE_DIR}/tests/scripts/testbed.sh)
set(wine_EMULATOR ${WINE_RUN} ${TESTBED})
set(wine32_EMULATOR ${WINE_RUN} --win32 ${TESTBED32})
set(CMAKE_CROSSCOMPILING_EMULATOR ${wine_EMULATOR})
add_test(NAME testbed.start COMMAND ${TESTBED_SH} start ${TESTBED})
add_test(NAME testbed.stop COMMAND ${TESTBED_SH} stop ${TESTBED})
add_test(NAME testbed32.start COMMAND ${TESTBED_SH} start --win32 ${TESTBED32})
add_test(NAME testbed32.stop COMMAND ${TESTBED_SH} stop --win32 ${TESTBED32})
set_tests_properties(testbed.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
set_tests_properties(testbed.stop PROPERTIES FIXTURES_CLEANUP wine)
set_tests_properties(testbed32.start PROPERTIES FIXTURES_SETUP wine32 TIMEOUT 300)
set_tests_properties(testbed32.stop PROPERTIES FIXTURES_CLEANUP wine32)
endif()

file(GLOB SUPPORT_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/support/*.cpp)
add_library(test_support STATIC ${SUPPORT_SOURCES})
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(test_support PRIVATE ${VARNHOLT_WARNINGS})
# psapi: the process memory counters, which Vista's headers take from psapi.dll; crypt32:
# the certificate store the https tests trust their test authority in; GoogleTest: the
# fixtures the end-to-end tests share.
target_link_libraries(test_support PUBLIC ${WIN_LIBS} ${ON_DEMAND_LIBS} psapi crypt32 GTest::gtest)

# Helper programs the tests start: the stand-in viewer, the message-box driver, ...
file(GLOB TOOL_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/tools/*.cpp)
set(TEST_TOOLS)
foreach(src IN LISTS TOOL_SOURCES)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME} -municode)
  target_link_libraries(${name} PRIVATE test_support)
  list(APPEND TEST_TOOLS ${name})
endforeach()
# A library to plant beside a copy of the client, the setup and the uninstaller under the
# names of the system's libraries (it leaves a mark when loaded; its exports keep their
# undecorated names, as comctl32's), and the control that loads libraries by their bare
# names; they link nothing of the tests', so that they load nothing else.
add_library(PlantedLibrary SHARED tests/planted/PlantedLibrary.cpp)
set_target_properties(PlantedLibrary PROPERTIES PREFIX "")
add_executable(LoadByName WIN32 tests/planted/LoadByName.cpp)
target_link_options(LoadByName PRIVATE -municode)
foreach(target PlantedLibrary LoadByName)
  target_compile_options(${target} PRIVATE ${VARNHOLT_WARNINGS})
  target_link_options(${target} PRIVATE ${STATIC_RUNTIME} -s)
endforeach()
target_link_options(PlantedLibrary PRIVATE -Wl,--kill-at)
list(APPEND TEST_TOOLS PlantedLibrary LoadByName)

include(GoogleTest)
# A Windows test program of the sources given, its tests under the CTest label of their
# tier (ctest -L <label>), run one at a time in the test bed of the fixture (wine or
# wine32).
function(varnholt_test_program name label fixture)
  if(CMAKE_CROSSCOMPILING)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${${fixture}_EMULATOR})
  endif()
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE ${VARNHOLT_WARNINGS})
  target_link_options(${name} PRIVATE ${STATIC_RUNTIME})
  target_link_libraries(${name} PRIVATE varnholt_win test_support GTest::gtest_main)
  add_dependencies(${name} Varnholt ${TEST_TOOLS})
  if(TARGET dist)
    add_dependencies(${name} dist)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
    TEST_PREFIX "${name}." TEST_FILTER "-RussianLocale*:TurkishLocale*:JapaneseLocale*"
    PROPERTIES FIXTURES_REQUIRED ${fixture} TIMEOUT 180 RESOURCE_LOCK ${fixture}_desktop
    LABELS ${label})
  # The tests named after a locale run again under it (Russian: ANSI code page 1251;
  # Japanese: 932; Turkish: its casing, where "I" is not the capital of "i"), which the
  # programs they start inherit; the test bed's wineserver serves them all.
  foreach(locale IN ITEMS "RussianLocale ru ru_RU.UTF-8" "TurkishLocale tr tr_TR.UTF-8"
                         "JapaneseLocale ja ja_JP.UTF-8")
    separate_arguments(locale)
    list(GET locale 0 suite)
    list(GET locale 1 short)
    list(GET locale 2 lc)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
      TEST_PREFIX "${name}.${short}." TEST_FILTER "${suite}*" PROPERTIES
      FIXTURES_REQUIRED ${fixture} TIMEOUT 180 RESOURCE_LOCK ${fixture}_desktop LABELS ${label}
      ENVIRONMENT LC_ALL=${lc})
  endforeach()
endfunction()

# One test program per tier, in the 64-bit test bed, of the sources in tests/<folder>;
# further arguments name more sources of the program.
function(varnholt_wine_tests name folder label)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${folder}/*.cpp)
  varnholt_test_program(${name} ${label} wine ${sources} ${ARGN})
endfunction()

# The case-folding cases run against the system too: both foldings must agree on them.
varnholt_wine_tests(win32_tests win32 win32 ${CMAKE_SOURCE_DIR}/tests/unit/CaseFoldTests.cpp)
# The commands run in the test program name the product as Varnholt.exe does.
configure_file(tests/support/TestVersion.rc.in ${CMAKE_BINARY_DIR}/generated/TestVersion.rc @ONLY)
varnholt_wine_tests(e2e_tests e2e e2e ${CMAKE_BINARY_DIR}/generated/TestVersion.rc)
varnholt_wine_tests(setup_tests setup setup)
if(TARGET setup_next)
  add_dependencies(setup_tests setup_next)
endif()
add_dependencies(setup_tests PlantedLibrary)
varnholt_wine_tests(realviewer_tests realviewer real-viewer)
# The registry, start-up and placement tests again in a 32-bit Windows (label
# win32-prefix): every other tier runs in a 64-bit prefix, where the 32-bit client runs
# under WOW64 and writes the 64-bit view; here it runs without WOW64 and has one view, the
# other branch of its registry access.
if(CMAKE_CROSSCOMPILING)
  varnholt_test_program(win32prefix_tests win32-prefix wine32
    ${CMAKE_SOURCE_DIR}/tests/win32/RegistryTests.cpp ${CMAKE_SOURCE_DIR}/tests/e2e/StartUpTests.cpp
    ${CMAKE_SOURCE_DIR}/tests/e2e/PlacementTests.cpp ${CMAKE_BINARY_DIR}/generated/TestVersion.rc)
endif()

include(cmake/Pages.cmake)

# Product checks that need no Wine: the test build and the shipped program import only
# system DLLs that Vista has, and a second clean release build gives the same program and
# setup.
add_test(NAME product.imports_only_system_dlls
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check-imports.sh $<TARGET_FILE:Varnholt>)
add_test(NAME product.release_imports_only_system_dlls
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check-imports.sh ${CMAKE_BINARY_DIR}/dist/Varnholt.exe)
# Every function the shipped program imports, delay-loaded ones too, is listed with the
# oldest Windows that has it, and none is newer than Vista.
add_test(NAME product.release_imports_exist_on_vista
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check-windows-imports.py
    ${CMAKE_BINARY_DIR}/dist/Varnholt.exe ${CMAKE_SOURCE_DIR}/tests/scripts/windows-imports.txt)
add_test(NAME product.release_is_reproducible
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check-reproducible.sh ${CMAKE_SOURCE_DIR}
    ${CMAKE_BINARY_DIR}/release ${CMAKE_BINARY_DIR}/release-again ${CMAKE_TOOLCHAIN_FILE}
    ${CMAKE_GENERATOR})
# A maker's release for a plain http site is refused (before anything is built) unless the
# maker asks for it.
add_test(NAME product.dist_refuses_a_plain_http_site
  COMMAND ${CMAKE_SOURCE_DIR}/scripts/dist.sh http://www.example.org)
set_tests_properties(product.dist_refuses_a_plain_http_site PROPERTIES
  PASS_REGULAR_EXPRESSION "is not an https address" TIMEOUT 60)
set_tests_properties(product.imports_only_system_dlls product.release_imports_only_system_dlls
  product.release_imports_exist_on_vista product.release_is_reproducible
  product.dist_refuses_a_plain_http_site PROPERTIES LABELS product)
set_tests_properties(product.release_is_reproducible PROPERTIES TIMEOUT 900)
# A maker's signed build, with a throwaway certificate (needs the test bed: the signed
# program runs under Wine).
add_test(NAME setup.signed_release
  COMMAND ${CMAKE_SOURCE_DIR}/tests/scripts/check-signing.sh ${CMAKE_SOURCE_DIR}
    ${CMAKE_BINARY_DIR}/release-signed ${CMAKE_TOOLCHAIN_FILE} ${CMAKE_GENERATOR} ${TESTBED})
set_tests_properties(setup.signed_release PROPERTIES LABELS setup FIXTURES_REQUIRED wine
  RESOURCE_LOCK wine_desktop TIMEOUT 900)
