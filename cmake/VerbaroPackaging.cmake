# Manual pages, changelog and copyright, and the Debian package that `make package` builds with CPack.
set(CPACK_PACKAGE_NAME verbaro)

# Manual pages and changelog are installed compressed as Debian has them: at gzip's best and
# without a time stamp (-9n), so that the same sources give the same files.
function(verbaro_gzip gzipped)
    set(outputs)
    foreach(document ${ARGN})
        get_filename_component(name ${document} NAME)
        set(copy ${PROJECT_BINARY_DIR}/gzipped/${name})
        add_custom_command(OUTPUT ${copy}.gz
            COMMAND ${CMAKE_COMMAND} -E copy ${document} ${copy}
            COMMAND gzip -9nf ${copy}
            DEPENDS ${document})
        list(APPEND outputs ${copy}.gz)
    endforeach()
    set(${gzipped} ${outputs} PARENT_SCOPE)
endfunction()

# Every command that comes with the program has its page in docs/man.
file(GLOB VERBARO_MAN_PAGES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/*.1)
verbaro_gzip(man_pages ${VERBARO_MAN_PAGES})
verbaro_gzip(changelog ${PROJECT_SOURCE_DIR}/docs/changelog)
add_custom_target(gzipped_documents ALL DEPENDS ${man_pages} ${changelog})
install(FILES ${man_pages} DESTINATION share/man/man1)
install(FILES ${changelog} ${PROJECT_SOURCE_DIR}/docs/copyright DESTINATION share/doc/${CPACK_PACKAGE_NAME})

# A stripped install (the package's) strips the programs as Debian strips those it ships: also without
# the .comment section, where every object linked in names the compiler that built it.
set(stripped_programs)
foreach(program ${VERBARO_PROGRAM_FILE_NAME} verbaro-check verbaro-convert)
    list(APPEND stripped_programs "\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/lib/verbaro/$<TARGET_FILE_NAME:${program}>")
endforeach()
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment ${stripped_programs} COMMAND_ERROR_IS_FATAL ANY)
endif()")

set(CPACK_GENERATOR DEB)
configure_file(${PROJECT_SOURCE_DIR}/cmake/VerbaroPackageDate.cmake.in ${PROJECT_BINARY_DIR}/VerbaroPackageDate.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/VerbaroPackageDate.cmake)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "vocabulary trainer for dictionaries you write yourself")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Verbaro team <team@verbaro.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary on the first line and indents this text below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "${VERBARO_PROGRAM_NAME} asks you the words of a dictionary that you write as a plain
text file, one word at a time, checks the translation that you type, and
tells your accuracy at the end. Dictionaries may import each other and be
written in UTF-8 or Windows-1252. A guide to the format, example
dictionaries and the command verbaro-check, which reports what a dictionary
holds, come with it.")
# The libraries come from dpkg-shlibdeps; what the program loads by name does not: Qt's X11
# platform plugin, and the fonts that stand in for the Windows dialog faces.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, fonts-wine, fontconfig")
# Qt's Wayland platform plugin: without it a Wayland desktop runs the program through XWayland.
# The dialog faces draw Latin (Vietnamese too), Greek, Cyrillic, Hebrew and Arabic; Noto draws the
# other scripts, which would otherwise show as empty boxes: Devanagari, Thai and the other living
# alphabets (core), Japanese, Chinese and Korean (cjk), and emoji in colour.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, fonts-noto-core, fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "fonts-noto-color-emoji")
include(CPack)
