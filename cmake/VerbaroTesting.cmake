# verbaro_test(NAME SOURCES file... LIBS lib...)
# One GoogleTest executable, its sources compiled as one unit, registered with CTest as one test.
# GUI tests run headless.
find_package(GTest REQUIRED)

# What every test program and test script runs with: no display, and the leak checker's
# suppressions for what Qt and the system libraries keep until exit.
set(VERBARO_TEST_ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0")

function(verbaro_test name)
    cmake_parse_arguments(TEST "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${TEST_SOURCES})
    target_link_libraries(${name} PRIVATE ${TEST_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    verbaro_unity_build(${name})
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "${VERBARO_TEST_ENVIRONMENT}"
        TIMEOUT 300)
endfunction()
