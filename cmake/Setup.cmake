# What a dictionary maker ships, made by a build for Windows: the setup (NSIS, from what
# cmake --install puts in place) with the site's version file beside it, and the sample
# dictionary. A test build, with its crash points, makes no setup.
find_program(CHMCMD chmcmd)
find_program(MAKENSIS makensis)
if(NOT CHMCMD OR NOT MAKENSIS)
  message(STATUS "No chmcmd or makensis (scripts/install-deps.sh installs them): "
                 "no sample, setup or dist")
  return()
endif()

# Sample.chm, compiled from sample/ in the build folder.
file(GLOB SAMPLE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/sample/*)
set(SAMPLE_DIR ${CMAKE_BINARY_DIR}/sample)
add_custom_command(OUTPUT ${SAMPLE_DIR}/Sample.chm
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/sample ${SAMPLE_DIR}
  COMMAND ${CHMCMD} --no-html-scan Sample.hhp
  WORKING_DIRECTORY ${SAMPLE_DIR}
  DEPENDS ${SAMPLE_SOURCES}
  COMMENT "Compiling Sample.chm")
add_custom_target(sample ALL DEPENDS ${SAMPLE_DIR}/Sample.chm)

if(NOT VARNHOLT_FAULT_INJECTION)
  set(SETUP_DIR ${CMAKE_BINARY_DIR}/setup)
  add_custom_command(OUTPUT ${SETUP_DIR}/Varnholt_Setup.exe ${SETUP_DIR}/Varnholt.js
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${SETUP_DIR}/stage
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${SETUP_DIR}/stage
    # Signed (when the maker's certificate is given, cmake/Sign.cmake) before it goes into
    # the setup, and the setup after it is made: the version file gives the signed size.
    COMMAND ${CMAKE_COMMAND} -DFILE=${SETUP_DIR}/stage/Varnholt.exe
      -P ${CMAKE_SOURCE_DIR}/cmake/Sign.cmake
    COMMAND ${MAKENSIS} -V2 -DVERSION=${VARNHOLT_VERSION_TEXT}
      -DFILE_VERSION=${VARNHOLT_FILE_VERSION} -DCOMPANY=${VARNHOLT_COMPANY_NAME}
      -DSTAGE=${SETUP_DIR}/stage -DOUTFILE=${SETUP_DIR}/Varnholt_Setup.exe
      ${CMAKE_SOURCE_DIR}/setup/Varnholt.nsi
    COMMAND ${CMAKE_COMMAND} -DFILE=${SETUP_DIR}/Varnholt_Setup.exe
      -P ${CMAKE_SOURCE_DIR}/cmake/Sign.cmake
    COMMAND ${CMAKE_COMMAND} -DSETUP=${SETUP_DIR}/Varnholt_Setup.exe
      -DVERSION=${VARNHOLT_VERSION_TEXT} -DOUTPUT=${SETUP_DIR}/Varnholt.js
      -P ${CMAKE_SOURCE_DIR}/cmake/VersionFile.cmake
    DEPENDS Varnholt ${CMAKE_SOURCE_DIR}/setup/Varnholt.nsi ${CMAKE_SOURCE_DIR}/cmake/VersionFile.cmake
      ${CMAKE_SOURCE_DIR}/cmake/Sign.cmake
    COMMENT "Making Varnholt_Setup.exe and Varnholt.js")
  add_custom_target(setup ALL DEPENDS ${SETUP_DIR}/Varnholt_Setup.exe)
else()
  # dist: the release build beside this test build (build/mingw/release, the release
  # preset's folder) and the four files a maker ships, gathered in build/mingw/dist.
  set(RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
  set(DIST_DIR ${CMAKE_BINARY_DIR}/dist)
  # The setup is made again each time: signed or not, as the environment says now
  # (cmake/Sign.cmake), never left over from another run.
  add_custom_target(dist ALL
    COMMAND ${CMAKE_COMMAND} -E rm -f ${RELEASE_DIR}/setup/Varnholt_Setup.exe
    COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DRELEASE_DIR=${RELEASE_DIR}
      -DTOOLCHAIN=${CMAKE_TOOLCHAIN_FILE} -DGENERATOR=${CMAKE_GENERATOR} -DDIST_DIR=${DIST_DIR}
      -DSAMPLE=${SAMPLE_DIR}/Sample.chm -P ${CMAKE_SOURCE_DIR}/cmake/ReleaseBuild.cmake
    COMMENT "Gathering Varnholt.exe, Varnholt_Setup.exe, Varnholt.js and Sample.chm in ${DIST_DIR}"
    VERBATIM)
  add_dependencies(dist sample)

  # For the setup tests, an update to install over the release: the next minor version,
  # holding this test build's program (whose bytes differ from the release's).
  math(EXPR NEXT_MINOR "${VARNHOLT_VERSION_MINOR} + 1")
  set(NEXT_SETUP ${CMAKE_BINARY_DIR}/setup-next/Varnholt_Setup_next.exe)
  add_custom_command(OUTPUT ${NEXT_SETUP}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${VARNHOLT_VERSION_MAJOR}.${NEXT_MINOR}
      -DFILE_VERSION=${VARNHOLT_VERSION_MAJOR}.${NEXT_MINOR}.0.0
      -DCOMPANY=${VARNHOLT_COMPANY_NAME} -DSTAGE=$<TARGET_FILE_DIR:Varnholt>
      -DOUTFILE=${NEXT_SETUP} ${CMAKE_SOURCE_DIR}/setup/Varnholt.nsi
    DEPENDS Varnholt ${CMAKE_SOURCE_DIR}/setup/Varnholt.nsi
    COMMENT "Making Varnholt_Setup_next.exe for the setup tests")
  add_custom_target(setup_next ALL DEPENDS ${NEXT_SETUP})
endif()
