# Writes the site's version file, read by the About window's update check:
#   cmake -DSETUP=<Varnholt_Setup.exe> -DVERSION=2.127 -DOUTPUT=<Varnholt.js> -P VersionFile.cmake
file(SIZE ${SETUP} size)
file(WRITE ${OUTPUT} "Version=${VERSION};Size=${size};")
