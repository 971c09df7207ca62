# Test registration by file name, so each folder of tests/ needs one line:
#   *_test.cpp         plain logic: no display, no QApplication
#   *_widget_test.cpp  widgets under QT_QPA_PLATFORM=offscreen
#   *_xvfb_test.cpp    reads the real screen: run twice, in a private Xvfb with and without a window manager
#   *_wayland_test.cpp reads a Wayland desktop: run on a private headless sway (portal_*: with the
#                      desktop portal)
#   *.sh (in e2e)      drives the real binary in a private Xvfb (and, where it prints, a private CUPS)
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
            set(portal_option)
            if(name MATCHES "^portal_")
                set(portal_option --portal) # with the desktop portal on a bus of its own
            endif()
            add_test(NAME ${name} COMMAND ${QUORVEX_SWAY_RUNNER} ${portal_option} $<TARGET_FILE:${name}>)
            set_tests_properties(${name} PROPERTIES LABELS wayland TIMEOUT ${QUORVEX_SERVER_TIMEOUT}
                ENVIRONMENT "E2E_PROBE=$<TARGET_FILE:e2e_probe>")
            if(portal_option)
                quorvex_uses_desktop_portal(${name})
            endif()
        else()
            add_test(NAME ${name} COMMAND ${name})
            set_tests_properties(${name} PROPERTIES
                ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${QUORVEX_PLAIN_TIMEOUT})
        endif()
    endforeach()
endfunction()
