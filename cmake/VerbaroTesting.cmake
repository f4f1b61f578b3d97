# verbaro_test(NAME SOURCES file... LIBS lib...)
# One GoogleTest executable, its sources compiled as one unit, registered with CTest as one test.
# GUI tests run headless.
find_package(GTest REQUIRED)

function(verbaro_test name)
    cmake_parse_arguments(TEST "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${TEST_SOURCES})
    target_link_libraries(${name} PRIVATE ${TEST_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    verbaro_unity_build(${name})
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0"
        TIMEOUT 300)
endfunction()
