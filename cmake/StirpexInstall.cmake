# What `cmake --install` puts where, and the Debian package made from it
# (`cpack -G DEB` in the build folder; tools/check-install.sh builds and checks it):
#
#   bin/stirpex, bin/stirpex-cli
#   share/applications/example.tesselforge.Stirpex.desktop
#   share/metainfo/example.tesselforge.Stirpex.metainfo.xml
#   share/mime/packages/stirpex-gedcom.xml
#   share/icons/hicolor/{NxN,scalable}/{apps,mimetypes}/
#   share/man/man1/stirpex.1.gz, stirpex-cli.1.gz
#   share/stirpex/screenshots/main-window.png
#   share/doc/stirpex/copyright, changelog.gz
#
# The desktop's files are installed with the viewer only (STIRPEX_BUILD_UI).

include(GNUInstallDirs)

set(STIRPEX_APP_ID example.tesselforge.Stirpex)
set(STIRPEX_HOMEPAGE https://tesselforge.example/stirpex)
# The release date (STIRPEX_RELEASE_DATE, in both its forms) comes from StirpexVersion.cmake.

set(res ${PROJECT_SOURCE_DIR}/res)
set(generated ${PROJECT_BINARY_DIR}/install)
set(docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc/stirpex)

install(TARGETS stirpex-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Debian wants manual pages and changelogs compressed without a time stamp, so
# that the package is the same whenever it is built.
find_program(STIRPEX_GZIP gzip REQUIRED)
function(stirpex_gzip source output)
    add_custom_command(OUTPUT ${output}
                       COMMAND ${STIRPEX_GZIP} -9nc ${source} > ${output}
                       DEPENDS ${source} VERBATIM)
endfunction()
configure_file(${res}/man/stirpex-cli.1.in ${generated}/stirpex-cli.1 @ONLY)
stirpex_gzip(${generated}/stirpex-cli.1 ${generated}/stirpex-cli.1.gz)
set(install_files ${generated}/stirpex-cli.1.gz)
install(FILES ${generated}/stirpex-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The copyright file carries LICENSE's own words.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(FIND "${license}" "Permission is hereby granted" grant)
string(SUBSTRING "${license}" ${grant} -1 license)
string(STRIP "${license}" license)
string(REGEX REPLACE "\n\n" "\n.\n" license "${license}")
string(REGEX REPLACE "\n" "\n " STIRPEX_LICENSE_TEXT " ${license}")
configure_file(${res}/debian/copyright.in ${generated}/copyright @ONLY)
configure_file(${res}/debian/changelog.in ${generated}/changelog @ONLY)
stirpex_gzip(${generated}/changelog ${generated}/changelog.gz)
list(APPEND install_files ${generated}/changelog.gz)
install(FILES ${generated}/copyright ${generated}/changelog.gz DESTINATION ${docdir})

if(TARGET stirpex)
    install(TARGETS stirpex RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    configure_file(${res}/man/stirpex.1.in ${generated}/stirpex.1 @ONLY)
    stirpex_gzip(${generated}/stirpex.1 ${generated}/stirpex.1.gz)
    list(APPEND install_files ${generated}/stirpex.1.gz)
    install(FILES ${generated}/stirpex.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    install(FILES ${res}/desktop/${STIRPEX_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${res}/desktop/stirpex-gedcom.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/mime/packages)
    install(DIRECTORY ${res}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons)

    set(STIRPEX_SCREENSHOT_NAME main-window.png)
    configure_file(${res}/desktop/${STIRPEX_APP_ID}.metainfo.xml.in ${generated}/${STIRPEX_APP_ID}.metainfo.xml @ONLY)
    install(FILES ${generated}/${STIRPEX_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)

    # The screenshot: the real viewer on the sample family, offscreen, with a
    # home of its own so that its settings and recent files touch nobody's.
    add_executable(stirpex-screenshot ${PROJECT_SOURCE_DIR}/tools/screenshot/take_screenshot.cpp)
    target_link_libraries(stirpex-screenshot PRIVATE stirpex_ui)
    stirpex_target_flags(stirpex-screenshot)
    set(screenshot ${generated}/${STIRPEX_SCREENSHOT_NAME})
    set(screenshot_home ${generated}/screenshot-home)
    file(MAKE_DIRECTORY ${screenshot_home}/runtime)
    file(CHMOD ${screenshot_home}/runtime DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
    add_custom_command(OUTPUT ${screenshot}
                       COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 HOME=${screenshot_home}
                               XDG_CONFIG_HOME=${screenshot_home}/config XDG_DATA_HOME=${screenshot_home}/data
                               XDG_RUNTIME_DIR=${screenshot_home}/runtime
                               $<TARGET_FILE:stirpex-screenshot> ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged
                               ${screenshot}
                       DEPENDS stirpex-screenshot ${PROJECT_SOURCE_DIR}/samples/harrow_family.ged
                       COMMENT "Taking the screenshot of the main window" VERBATIM)
    add_custom_target(screenshot DEPENDS ${screenshot})
    # The screenshot is not part of every build (it runs the viewer); an
    # install, and so the package, makes it first.
    install(CODE "execute_process(COMMAND \"${CMAKE_COMMAND}\" --build \"${PROJECT_BINARY_DIR}\" --target screenshot
                                  RESULT_VARIABLE failed)
                  if(failed)
                      message(FATAL_ERROR \"The screenshot could not be taken\")
                  endif()")
    install(FILES ${screenshot} DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/stirpex/screenshots)
endif()

add_custom_target(install_files ALL DEPENDS ${install_files})

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME stirpex)
set(CPACK_PACKAGE_VENDOR "Tessel Forge")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Tessel Forge <stirpex@tesselforge.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                                WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessel Forge <stirpex@tesselforge.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${STIRPEX_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt reads TIFF and WebP media only through these plugins, which no library links.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-image-formats-plugins)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "read-only viewer for GEDCOM genealogy files
Stirpex opens GEDCOM family files of any size and shows one person at a
time as a page on which every parent, spouse and child is a link. It reads
ANSEL, ANSI, UTF-8, UTF-16, IBM PC and Macintosh files and never changes them.
.
From a person's page it shows the ancestor and descendant trees, the
maternal and paternal lines, the notes and sources, a name index searched as
you type, the file's properties, and prints the page.
.
The package also holds stirpex-cli, which prints the same information as
text or JSON for scripts.")
include(CPack)
