# Tests of the cross build: GoogleTest built from Debian's source package with the same
# toolchain, and every test program run under Wine in a prefix of the build's own.
set(TANU_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources")
if(NOT EXISTS ${TANU_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${TANU_GOOGLETEST_SOURCE_DIR}: run tools/setup.sh")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
# SYSTEM: our warning flags stay off its headers, as they do for the native package.
add_subdirectory(${TANU_GOOGLETEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                 SYSTEM)

# Made once by the first test run (the wine_prefix fixture in tests/win32), kept with the build.
set(TANU_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/win32/wine-run.sh ${TANU_WINE_PREFIX})
