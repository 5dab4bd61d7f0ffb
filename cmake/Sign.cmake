# Signs a program file with the maker's certificate, when the environment names one:
#   VARNHOLT_SIGN_PFX             the certificate and its key, a PKCS#12 file
#   VARNHOLT_SIGN_PASSWORD_FILE   a file that holds its password
#   VARNHOLT_SIGN_TIMESTAMP_URL   a time-stamp server (optional)
# Without them the file stays as it is (a build stays byte-for-byte reproducible).
#   cmake -DFILE=<program.exe> -P Sign.cmake
if(NOT DEFINED ENV{VARNHOLT_SIGN_PFX} OR "$ENV{VARNHOLT_SIGN_PFX}" STREQUAL "")
  return()
endif()
if(NOT DEFINED ENV{VARNHOLT_SIGN_PASSWORD_FILE} OR "$ENV{VARNHOLT_SIGN_PASSWORD_FILE}" STREQUAL "")
  message(FATAL_ERROR "VARNHOLT_SIGN_PFX is set, VARNHOLT_SIGN_PASSWORD_FILE is not")
endif()
find_program(OSSLSIGNCODE osslsigncode REQUIRED)
set(timestamp)
if(DEFINED ENV{VARNHOLT_SIGN_TIMESTAMP_URL} AND NOT "$ENV{VARNHOLT_SIGN_TIMESTAMP_URL}" STREQUAL "")
  set(timestamp -ts "$ENV{VARNHOLT_SIGN_TIMESTAMP_URL}")
endif()
file(REMOVE ${FILE}.signed)
execute_process(COMMAND ${OSSLSIGNCODE} sign -pkcs12 "$ENV{VARNHOLT_SIGN_PFX}"
    -readpass "$ENV{VARNHOLT_SIGN_PASSWORD_FILE}" -h sha256 -n "Quillbay Client" ${timestamp}
    -in ${FILE} -out ${FILE}.signed
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(RENAME ${FILE}.signed ${FILE})
message(STATUS "Signed ${FILE}")
