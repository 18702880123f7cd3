# Helpers shared by the native and the cross configuration.
#
# Each subsystem folder lists its sources with talvane_sources(): PORTABLE sources hold no
# Win32 and build in both configurations (they are unit-tested natively), WIN32 sources are the
# thin layer over the Windows API and build only in the cross configuration.

function(talvane_sources kind)
    foreach(src IN LISTS ARGN)
        get_filename_component(path "${src}" ABSOLUTE)
        set_property(GLOBAL APPEND PROPERTY TALVANE_${kind}_SOURCES "${path}")
    endforeach()
endfunction()

function(talvane_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# talvane_core: the portable logic of every subsystem; talvane_win32 (cross only): the Windows
# layer. Both are static libraries so that test programs link only what they use.
function(talvane_make_libraries)
    get_property(portable GLOBAL PROPERTY TALVANE_PORTABLE_SOURCES)
    add_library(talvane_core STATIC ${portable} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
    target_include_directories(talvane_core PUBLIC ${PROJECT_SOURCE_DIR})
    talvane_warnings(talvane_core)
    if(WIN32)
        get_property(win GLOBAL PROPERTY TALVANE_WIN32_SOURCES)
        add_library(talvane_win32 STATIC ${win} ${PROJECT_SOURCE_DIR}/cmake/empty.cpp)
        target_link_libraries(talvane_win32 PUBLIC talvane_core winmm comctl32 comdlg32 gdi32
                                                   user32 advapi32 shell32)
        talvane_warnings(talvane_win32)
    endif()
endfunction()

if(WIN32)
    # Tests that run under Wine are registered in a list that the native configuration hands to
    # CTest, so one CTest run covers all three test layers.
    #
    #   talvane_wine_test(<name> TARGET <exe target> [ARGS ...] [LABELS ...] [TIMEOUT s]
    #                     [RESOURCE_LOCK ...] [ENVIRONMENT VAR=value ...] [RUN_SERIAL])
    function(talvane_wine_test name)
        cmake_parse_arguments(T "RUN_SERIAL" "TARGET;TIMEOUT" "ARGS;LABELS;RESOURCE_LOCK;ENVIRONMENT"
                              ${ARGN})
        if(NOT T_TIMEOUT)
            set(T_TIMEOUT 120)
        endif()
        set(cmd "\"${TALVANE_WINE_RUN}\" \"$<TARGET_FILE:${T_TARGET}>\"")
        foreach(a IN LISTS T_ARGS)
            string(APPEND cmd " \"${a}\"")
        endforeach()
        set(env "WINEPREFIX=${TALVANE_WINEPREFIX}")
        foreach(e IN LISTS T_ENVIRONMENT)
            string(APPEND env "\;${e}")
        endforeach()
        set(props "TIMEOUT ${T_TIMEOUT} FIXTURES_REQUIRED wine_prefix ENVIRONMENT \"${env}\"")
        if(T_LABELS)
            string(REPLACE ";" "\\;" labels "${T_LABELS}")
            string(APPEND props " LABELS \"${labels}\"")
        endif()
        if(T_RESOURCE_LOCK)
            string(REPLACE ";" "\\;" locks "${T_RESOURCE_LOCK}")
            string(APPEND props " RESOURCE_LOCK \"${locks}\"")
        endif()
        if(T_RUN_SERIAL)
            string(APPEND props " RUN_SERIAL TRUE")
        endif()
        set_property(GLOBAL APPEND_STRING PROPERTY TALVANE_WINE_TESTS
            "add_test(${name} ${cmd})\nset_tests_properties(${name} PROPERTIES ${props})\n")
    endfunction()

    function(talvane_write_wine_test_list)
        get_property(content GLOBAL PROPERTY TALVANE_WINE_TESTS)
        file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/wine-tests.cmake CONTENT "${content}")
    endfunction()
endif()
