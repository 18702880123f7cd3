# The native configuration drives the cross build of the Windows programs as an external project
# and hands its list of Wine tests to CTest, so `cmake --build` builds both configurations and one
# `ctest` runs all three test layers.
include(ExternalProject)

set(TALVANE_WIN_BINARY_DIR ${CMAKE_BINARY_DIR}/win)
set(TALVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)

# The tests run the Windows programs under Wine. Where the machine runs 32-bit x86 code they are
# the 32-bit programs users get; where it runs 64-bit code only, Wine can start 64-bit programs
# alone, so the tests build and run the same sources for 64-bit Windows. The programs of the
# other architecture are built beside them (in win32/ or win64/) so that both compile without a
# warning, and both builds pack their release zip into release/.
set(TALVANE_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)
execute_process(COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/wine-arch
                OUTPUT_VARIABLE TALVANE_WINEARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
if(TALVANE_WINEARCH STREQUAL "win64")
    set(tested_toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake)
    set(other_toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake)
    set(other_folder win32)
else()
    set(tested_toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-i686.cmake)
    set(other_toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-x86_64.cmake)
    set(other_folder win64)
endif()

ExternalProject_Add(windows_other
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/${other_folder}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${other_toolchain}
               -DCMAKE_BUILD_TYPE=Release
               -DTALVANE_RELEASE_DIR=${TALVANE_RELEASE_DIR}
               -DTALVANE_DEFINITIONS_DIR=${TALVANE_DEFINITIONS_DIR}
    DEPENDS shipped_definitions
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target release_zip
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)

ExternalProject_Add(windows
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${TALVANE_WIN_BINARY_DIR}
    CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${tested_toolchain}
               -DCMAKE_BUILD_TYPE=Release
               -DTALVANE_WINEPREFIX=${TALVANE_WINEPREFIX}
               -DTALVANE_RELEASE_DIR=${TALVANE_RELEASE_DIR}
               -DTALVANE_DEFINITIONS_DIR=${TALVANE_DEFINITIONS_DIR}
    DEPENDS shipped_definitions
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
