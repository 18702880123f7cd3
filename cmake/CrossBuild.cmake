# The native configuration drives the cross build of the Windows programs as an external project
# and hands its list of Wine tests to CTest, so `cmake --build` builds both configurations and one
# `ctest` runs all three test layers.
include(ExternalProject)

set(TALVANE_WIN_BINARY_DIR ${CMAKE_BINARY_DIR}/win)
set(TALVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

ExternalProject_Add(windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${TALVANE_WIN_BINARY_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake
               -DCMAKE_BUILD_TYPE=Release
               -DTALVANE_WINEPREFIX=${TALVANE_WINEPREFIX}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)

# Every Wine test needs the prefix booted once; booting it is a test of its own so that CTest
# reports a broken Wine installation plainly.
add_test(NAME wine_prefix
         COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/wine-run --boot)
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300
                     ENVIRONMENT "WINEPREFIX=${TALVANE_WINEPREFIX}")

set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${TALVANE_WIN_BINARY_DIR}/wine-tests.cmake)
