# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Komet: the programs into bin/, what they read under share/komet/
# (where they look for it, from ../share/komet beside bin/), the desktop's
# entry, icon, file type and software-centre entry, the manual pages, and
# copyright and changelog under share/doc/komet. `cpack -G DEB` packs the
# same tree. Help pages and toolbar pictures are built into the programs and
# not installed a second time.
include(GNUInstallDirs)
set(KOMET_DATA_DIR ${CMAKE_INSTALL_DATADIR}/komet)
set(KOMET_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/komet)
set(KOMET_APP_ID de.komet_projekt.komet)
set(KOMET_MAINTAINER "Komet-Projekt <komet@komet-projekt.de>")
set(KOMET_HOMEPAGE "https://komet-projekt.de/")
# Directories as Debian wants them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

foreach(program komet komet-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # A stripped install (cmake --install --strip, cpack) also drops the
    # compilers' notes, as Debian's own stripping does.
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                        COMMAND_ERROR_IS_FATAL ANY)
      endif()")
  endif()
endforeach()

# The data the programs read: the motor catalogue (not the text it is made
# from) and the sample rockets (not their descriptions).
install(FILES ${CMAKE_SOURCE_DIR}/catalogue/motoren.kdb DESTINATION ${KOMET_DATA_DIR}/catalogue)
file(GLOB KOMET_EXAMPLE_ROCKETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/rockets/*.kmw)
install(FILES ${KOMET_EXAMPLE_ROCKETS} DESTINATION ${KOMET_DATA_DIR}/examples/rockets)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KOMET_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/${KOMET_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/komet.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/komet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/komet-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME komet.png)
endforeach()

# Manual pages and the changelog, compressed the reproducible way when
# installing (the changelog comes from the version history of the tree).
set(KOMET_STAGED ${CMAKE_BINARY_DIR}/packaging)
install(CODE "execute_process(COMMAND \"${CMAKE_SOURCE_DIR}/packaging/stage_docs.sh\" \"${KOMET_STAGED}\"
                                      \"${PROJECT_VERSION}\" \"${KOMET_MAINTAINER}\"
                              COMMAND_ERROR_IS_FATAL ANY)")
install(FILES ${CMAKE_SOURCE_DIR}/packaging/copyright ${KOMET_STAGED}/changelog.gz DESTINATION ${KOMET_DOC_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME komet)
install(FILES ${KOMET_STAGED}/man/komet.1.gz ${KOMET_STAGED}/man/komet-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${KOMET_STAGED}/man/de/komet.1.gz ${KOMET_STAGED}/man/de/komet-sim.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)

set(CPACK_PACKAGE_NAME komet)
set(CPACK_PACKAGE_VENDOR "Komet-Projekt")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${KOMET_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "flight simulator for model rockets of up to three stages")
# One string with line breaks (a CMake list would join with ";").
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
       "Komet simulates the vertical flight of a model rocket of up to three"
       "stages and draws height, velocity, acceleration, net force and thrust"
       "over time. It marks the apogee and the burnout, recommends an ejection"
       "delay, suggests motors that fit, and prints a one-page flight report."
       "A catalogue of the published thrust curves of over a thousand"
       "commercial motors and sample rockets come with it; komet-sim runs"
       "rocket files from the command line. The user interface is German.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KOMET_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KOMET_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Fonts that measure like Arial, for the plot and the report.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
include(CPack)
