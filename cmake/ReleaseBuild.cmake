# Builds the release configuration (no test settings) of this source tree in RELEASE_DIR,
# configuring it first when it has no cache, and makes its setup:
#   cmake -DSOURCE_DIR=.. -DRELEASE_DIR=.. -DTOOLCHAIN=.. -DGENERATOR=Ninja
#         [-DSETTINGS_FROM=<another release build>] [-DDIST_DIR=.. -DSAMPLE=..] -P ReleaseBuild.cmake
# SETTINGS_FROM gives a fresh build the maker's settings of another one (site, mail,
# company); DIST_DIR gathers what a maker ships: the program, the setup, the site's version
# file and the sample dictionary.
if(NOT EXISTS ${RELEASE_DIR}/CMakeCache.txt)
  set(settings)
  if(SETTINGS_FROM)
    file(STRINGS ${SETTINGS_FROM}/CMakeCache.txt lines
      REGEX "^VARNHOLT_(SITE_ADDRESS|MAIL_ADDRESS|COMPANY_NAME):")
    foreach(line IN LISTS lines)
      string(REGEX REPLACE "^([A-Z_]+):[A-Z]+=(.*)$" "-D\\1=\\2" setting "${line}")
      list(APPEND settings "${setting}")
    endforeach()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${RELEASE_DIR} -G ${GENERATOR}
    -DCMAKE_TOOLCHAIN_FILE=${TOOLCHAIN} -DCMAKE_BUILD_TYPE=Release -DVARNHOLT_TARGET=mingw
    -DVARNHOLT_FAULT_INJECTION=OFF ${settings}
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${RELEASE_DIR} --target Varnholt setup
  COMMAND_ERROR_IS_FATAL ANY)
if(DIST_DIR)
  file(MAKE_DIRECTORY ${DIST_DIR})
  # The program as it went into the setup (signed, when the maker signs).
  file(COPY ${RELEASE_DIR}/setup/stage/Varnholt.exe ${RELEASE_DIR}/setup/Varnholt_Setup.exe
    ${RELEASE_DIR}/setup/Varnholt.js ${SAMPLE} DESTINATION ${DIST_DIR})
endif()
