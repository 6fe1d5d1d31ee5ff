# SPDX-License-Identifier: GPL-3.0-or-later
# Installing Komet: the programs into bin/, what they read under share/komet/
# (where they look for it, from ../share/komet beside bin/), the desktop's
# entry, icon, file type and software-centre entry and the manual pages. The
# Debian package (debian/) installs this tree and adds copyright, changelog
# and lintian overrides itself. Help pages and toolbar pictures are built
# into the programs and not installed a second time.
include(GNUInstallDirs)
set(KOMET_DATA_DIR ${CMAKE_INSTALL_DATADIR}/komet)
set(KOMET_APP_ID de.komet_projekt.komet)
# Directories as Debian wants them, whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

foreach(program komet komet-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    # A stripped install (cmake --install --strip) also drops the compilers'
    # notes, as Debian's own stripping does.
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
# Each rocket with the shape file beside it.
file(GLOB KOMET_EXAMPLE_ROCKETS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/examples/rockets/*.kmw
     ${CMAKE_SOURCE_DIR}/examples/rockets/*.kmf)
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

# The manual pages with the version and the list of the sample rockets
# installed above (each with the name it shows, from its description).
set(KOMET_MAN_EXAMPLES "")
foreach(rocket IN LISTS KOMET_EXAMPLE_ROCKETS)
  cmake_path(GET rocket FILENAME file)
  cmake_path(REPLACE_EXTENSION rocket LAST_ONLY .txt OUTPUT_VARIABLE description)
  set(shown "")
  if(EXISTS ${description})
    file(STRINGS ${description} shown REGEX "^name = " LIMIT_COUNT 1 ENCODING UTF-8)
    string(REGEX REPLACE "^name = (.+)$" " (\\1)" shown "${shown}")
  endif()
  if(KOMET_MAN_EXAMPLES)
    string(APPEND KOMET_MAN_EXAMPLES ",\"\n")
  endif()
  string(APPEND KOMET_MAN_EXAMPLES ".IR ${file} \"${shown}")
endforeach()
string(APPEND KOMET_MAN_EXAMPLES ".\"")
set(VERSION ${PROJECT_VERSION})
foreach(page komet.1 komet-sim.1 de/komet.1 de/komet-sim.1)
  configure_file(${CMAKE_SOURCE_DIR}/packaging/man/${page} ${CMAKE_BINARY_DIR}/packaging/man/${page} @ONLY)
endforeach()
install(FILES ${CMAKE_BINARY_DIR}/packaging/man/komet.1 ${CMAKE_BINARY_DIR}/packaging/man/komet-sim.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_BINARY_DIR}/packaging/man/de/komet.1 ${CMAKE_BINARY_DIR}/packaging/man/de/komet-sim.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/de/man1)
