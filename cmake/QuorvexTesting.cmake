# Test registration by file name, so each folder of tests/ needs one line:
#   *_test.cpp         plain logic: no display, no QApplication
#   *_widget_test.cpp  widgets under QT_QPA_PLATFORM=offscreen
#   *_xvfb_test.cpp    reads the real screen: run twice, in a private Xvfb with and without a window manager
#   *_wayland_test.cpp reads a Wayland desktop: run on a private headless sway
#   *.sh (in e2e)      drives the real binary in a private Xvfb (and, where it prints, a private CUPS)
#   *_fuzz.cpp         a fuzz target of code that reads what another program sends: quorvex_add_fuzzer
# Every test has a timeout, so a hang fails with the test's name.
find_package(GTest REQUIRED)

set(QUORVEX_XVFB_RUNNER ${PROJECT_SOURCE_DIR}/tests/support/run_in_xvfb.sh)
set(QUORVEX_CUPS_RUNNER ${PROJECT_SOURCE_DIR}/tests/support/run_with_cups.sh)
set(QUORVEX_SWAY_RUNNER ${PROJECT_SOURCE_DIR}/tests/support/run_in_sway.sh)
set(QUORVEX_PLAIN_TIMEOUT 60)
set(QUORVEX_SERVER_TIMEOUT 120) # tests that start an X server, a print server or the real binary

# The wlroots portal writes every screenshot to the one /tmp/out.png: tests that start it take turns.
function(quorvex_uses_desktop_portal test)
    set_tests_properties(${test} PROPERTIES RESOURCE_LOCK desktop_portal)
endfunction()

function(quorvex_add_tests)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    foreach(source IN LISTS sources)
        get_filename_component(name ${source} NAME_WE)
        add_executable(${name} ${source})
        target_link_libraries(${name} PRIVATE ${ARG_LIBS} quorvex_test_support GTest::gtest)
        if(name MATCHES "_(widget|xvfb|wayland)_test$")
            target_link_libraries(${name} PRIVATE quorvex_qt_test_main)
        else()
            target_link_libraries(${name} PRIVATE GTest::gtest_main)
        endif()

        if(name MATCHES "_xvfb_test$")
            add_test(NAME ${name}.bare COMMAND ${QUORVEX_XVFB_RUNNER} $<TARGET_FILE:${name}>)
            add_test(NAME ${name}.wm COMMAND ${QUORVEX_XVFB_RUNNER} --wm $<TARGET_FILE:${name}>)
            set_tests_properties(${name}.bare ${name}.wm PROPERTIES LABELS xvfb
                ENVIRONMENT "QT_QPA_PLATFORM=xcb" TIMEOUT ${QUORVEX_SERVER_TIMEOUT})
        elseif(name MATCHES "_wayland_test$")
            add_test(NAME ${name} COMMAND ${QUORVEX_SWAY_RUNNER} $<TARGET_FILE:${name}>)
            set_tests_properties(${name} PROPERTIES LABELS wayland TIMEOUT ${QUORVEX_SERVER_TIMEOUT}
                ENVIRONMENT "E2E_PROBE=$<TARGET_FILE:e2e_probe>")
        else()
            add_test(NAME ${name} COMMAND ${name})
            set_tests_properties(${name} PROPERTIES
                ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${QUORVEX_PLAIN_TIMEOUT})
        endif()
    endforeach()
endfunction()

# Fuzz targets: LLVMFuzzerTestOneInput in NAME.cpp, reaching the plain C++ SOURCES (no library) it is
# built with, and INCLUDES and LINK for a system library they use. In the sanitized build (scripts/test
# --sanitize) clang's libFuzzer runs it for a few seconds, harness and sources built by clang with
# coverage, AddressSanitizer and UBSan; where clang has no libFuzzer, and in the plain build for a
# second, tests/support/fuzz_main.cpp feeds it seeded random inputs instead. Both start from the inputs
# in the folder SEEDS where one is given (what libFuzzer finds beyond them stays in the build's corpus).
option(QUORVEX_SANITIZE "The build is sanitized: fuzz targets run longer, under libFuzzer where clang has it" OFF)
set(QUORVEX_FUZZ_SECONDS 1)
set(QUORVEX_LIBFUZZER_CLANG)
if(QUORVEX_SANITIZE)
    set(QUORVEX_FUZZ_SECONDS 5)
    find_program(QUORVEX_CLANGXX NAMES clang++ clang++-14)
    if(QUORVEX_CLANGXX)
        set(check ${CMAKE_BINARY_DIR}/libfuzzer_check)
        file(WRITE ${check}.cpp "#include <cstddef>\n#include <cstdint>\n"
            "extern \"C\" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }\n")
        execute_process(COMMAND ${QUORVEX_CLANGXX} -fsanitize=fuzzer,address,undefined ${check}.cpp -o ${check}
            RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
        if(NOT failed)
            set(QUORVEX_LIBFUZZER_CLANG ${QUORVEX_CLANGXX})
        endif()
    endif()
endif()

function(quorvex_add_fuzzer name)
    cmake_parse_arguments(ARG "" "SEEDS" "SOURCES;INCLUDES;LINK" ${ARGN})
    set(harness ${CMAKE_CURRENT_SOURCE_DIR}/${name}.cpp)
    set(includes ${PROJECT_SOURCE_DIR}/src ${ARG_INCLUDES})
    if(QUORVEX_LIBFUZZER_CLANG)
        # One translation unit, so clang's dependency file covers every header it reads.
        set(unity ${CMAKE_CURRENT_BINARY_DIR}/${name}_unity.cpp)
        set(lines)
        foreach(source IN LISTS harness ARG_SOURCES)
            string(APPEND lines "#include \"${source}\"\n")
        endforeach()
        file(CONFIGURE OUTPUT ${unity} CONTENT "${lines}")
        set(binary ${CMAKE_CURRENT_BINARY_DIR}/${name})
        list(TRANSFORM includes PREPEND -I OUTPUT_VARIABLE include_flags)
        add_custom_command(OUTPUT ${binary}
            COMMAND ${QUORVEX_LIBFUZZER_CLANG} -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined
                -fno-sanitize-recover=undefined ${include_flags} -MD -MF ${binary}.d ${unity} ${ARG_LINK} -o ${binary}
            DEPENDS ${unity} ${harness} ${ARG_SOURCES} DEPFILE ${binary}.d
            COMMENT "Building the fuzz target ${name} with libFuzzer" VERBATIM)
        add_custom_target(${name}_libfuzzer ALL DEPENDS ${binary})
        set(corpus)
        if(ARG_SEEDS)
            set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus ${ARG_SEEDS})
            file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
        endif()
        add_test(NAME ${name} COMMAND ${binary} -max_total_time=${QUORVEX_FUZZ_SECONDS} -seed=1 ${corpus}
            WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    else()
        add_executable(${name} ${harness} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/fuzz_main.cpp)
        target_include_directories(${name} PRIVATE ${includes})
        target_link_libraries(${name} PRIVATE ${ARG_LINK})
        add_test(NAME ${name} COMMAND ${name} ${QUORVEX_FUZZ_SECONDS} 1 ${ARG_SEEDS})
    endif()
    set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${QUORVEX_PLAIN_TIMEOUT})
endfunction()
