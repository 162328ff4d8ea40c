# One ctest test per GoogleTest suite rather than per case. Under the sanitizers each process
# costs about a fifth of a second to start and to check for leaks at exit, more than most cases
# take, while a suite still makes a small enough unit to select (`ctest -R`) and to spread over
# cores. The suites are listed when ctest starts, from the built program, as gtest_discover_tests'
# PRE_TEST mode does: a new test shows up without running cmake again.

set(GAME_GTEST_SUITES_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

# game_add_gtest_suites(<target> WORKING_DIRECTORY <dir> TIMEOUT <seconds>)
function(game_add_gtest_suites target)
    cmake_parse_arguments(ARG "" "WORKING_DIRECTORY;TIMEOUT" "" ${ARGN})
    set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake)
    file(GENERATE OUTPUT ${include_file} CONTENT
"set(GAME_SUITES_PROGRAM \"$<TARGET_FILE:${target}>\")
set(GAME_SUITES_TARGET \"${target}\")
set(GAME_SUITES_WORKING_DIRECTORY \"${ARG_WORKING_DIRECTORY}\")
set(GAME_SUITES_TIMEOUT \"${ARG_TIMEOUT}\")
include(\"${GAME_GTEST_SUITES_SCRIPT}\")
game_register_gtest_suites()
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()

# Runs inside ctest (script mode): lists the program's suites and adds a test for each.
macro(game_register_gtest_suites)
    if(NOT EXISTS "${GAME_SUITES_PROGRAM}")
        # Not built: one failing test says so instead of a silently shorter run.
        add_test("${GAME_SUITES_TARGET}_NOT_BUILT" "${GAME_SUITES_TARGET}_NOT_BUILT")
    else()
        execute_process(COMMAND "${GAME_SUITES_PROGRAM}" --gtest_list_tests
            WORKING_DIRECTORY "${GAME_SUITES_WORKING_DIRECTORY}"
            OUTPUT_VARIABLE game_suites_listing ERROR_VARIABLE game_suites_error
            RESULT_VARIABLE game_suites_result TIMEOUT 120)
        if(NOT game_suites_result EQUAL 0)
            message(FATAL_ERROR "${GAME_SUITES_PROGRAM} --gtest_list_tests failed "
                "(${game_suites_result}):\n${game_suites_error}")
        endif()
        string(REPLACE "\n" ";" game_suites_lines "${game_suites_listing}")
        foreach(game_suites_line IN LISTS game_suites_lines)
            # Suite lines start in the first column and end in a dot (a comment may follow).
            if(game_suites_line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
                set(game_suite "${CMAKE_MATCH_1}")
                if(NOT game_suite MATCHES "^DISABLED_")
                    # Programs may share a suite name; ctest's names must stay apart.
                    set(game_suite_test "${game_suite}")
                    if(DEFINED GAME_SUITE_SEEN_${game_suite})
                        set(game_suite_test "${game_suite}@${GAME_SUITES_TARGET}")
                    endif()
                    set(GAME_SUITE_SEEN_${game_suite} TRUE)
                    add_test("${game_suite_test}" "${GAME_SUITES_PROGRAM}"
                        "--gtest_filter=${game_suite}.*")
                    set_tests_properties("${game_suite_test}" PROPERTIES
                        WORKING_DIRECTORY "${GAME_SUITES_WORKING_DIRECTORY}"
                        TIMEOUT "${GAME_SUITES_TIMEOUT}")
                endif()
            endif()
        endforeach()
    endif()
endmacro()
