# The libFuzzer targets need clang, so they build in a configuration of their own; CTest runs
# each of them for a bounded time together with the other tests.
include(ExternalProject)

set(TALVANE_FUZZ_BINARY_DIR ${CMAKE_BINARY_DIR}/fuzz)
ExternalProject_Add(fuzzers
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${TALVANE_FUZZ_BINARY_DIR}
    CMAKE_ARGS -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
               -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALVANE_FLAVOR=fuzz
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)

set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${TALVANE_FUZZ_BINARY_DIR}/fuzz-tests.cmake)
