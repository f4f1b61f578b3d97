# The optimized builds (Release, RelWithDebInfo, MinSizeRel: those that are installed and packaged)
# get the flags that Debian builds the programs it ships with, from dpkg-buildflags: every hardening
# feature it has, bind-now included, which it leaves off unless a package asks. Optimization and
# debugging information stay the build type's; the source folder is mapped to "." in what the
# compiler writes, so that the folder a build ran in leaves no trace in its files. dpkg-buildflags of
# Debian 12 does not yet know stack-clash and control-flow protection, which later releases turn on by
# default for amd64; they are added where it does not give them. Where dpkg-buildflags is not
# installed, the same set is used. The sanitizer and fuzzing builds keep their own flags: the
# sanitizers' runtime does the checking there, and the fortified calls would hide faults from it.
set(VERBARO_HARDENING_FALLBACK_CPPFLAGS -Wdate-time -D_FORTIFY_SOURCE=2)
set(VERBARO_HARDENING_FALLBACK_CXXFLAGS
    -ffile-prefix-map=${PROJECT_SOURCE_DIR}=. -fstack-protector-strong -Wformat -Werror=format-security)
set(VERBARO_HARDENING_FALLBACK_LDFLAGS -Wl,-z,relro -Wl,-z,now)
set(VERBARO_HARDENING_ADDED_CXXFLAGS -fstack-clash-protection -fcf-protection)

# verbaro_buildflags(VARIABLE FLAG): dpkg-buildflags' value of FLAG (CPPFLAGS, CXXFLAGS, LDFLAGS) as a
# list, or the fallback's.
function(verbaro_buildflags variable flag)
    set(value ${VERBARO_HARDENING_FALLBACK_${flag}})
    if(VERBARO_DPKG_BUILDFLAGS)
        execute_process(
            COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                    "DEB_${flag}_MAINT_STRIP=-g -O2" ${VERBARO_DPKG_BUILDFLAGS} --get ${flag}
            WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
            OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        separate_arguments(value UNIX_COMMAND "${value}")
    endif()
    set(${variable} ${value} PARENT_SCOPE)
endfunction()

if(NOT VERBARO_SANITIZE AND NOT VERBARO_FUZZ)
    find_program(VERBARO_DPKG_BUILDFLAGS dpkg-buildflags)
    verbaro_buildflags(cppflags CPPFLAGS)
    verbaro_buildflags(cxxflags CXXFLAGS)
    verbaro_buildflags(ldflags LDFLAGS)
    foreach(added ${VERBARO_HARDENING_ADDED_CXXFLAGS})
        if(NOT added IN_LIST cxxflags)
            list(APPEND cxxflags ${added})
        endif()
    endforeach()
    set(optimized $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    add_compile_options("$<${optimized}:${cppflags};${cxxflags}>")
    add_link_options("$<${optimized}:${ldflags}>")
endif()
