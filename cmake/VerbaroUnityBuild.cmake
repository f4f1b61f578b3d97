# verbaro_unity_build(TARGET): with VERBARO_UNITY_BUILD on, TARGET's sources are compiled as one
# unit, which reads the headers they share once and compiles each inline function they use once.
function(verbaro_unity_build target)
    if(NOT VERBARO_UNITY_BUILD)
        return()
    endif()
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 0)
    # A source's classes in an anonymous namespace are the unit's own, yet GCC, seeing the source
    # included, warns as if it were a header that could be included twice.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-subobject-linkage)
    endif()
endfunction()
