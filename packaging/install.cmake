# Installing Komet: the programs into bin/, their data under share/komet/
# (where the programs look for it, from ../share/komet beside bin/), and the
# desktop's entry, icon and file type. `cpack -G DEB` packs the same tree.
include(GNUInstallDirs)
set(KOMET_DATA_DIR ${CMAKE_INSTALL_DATADIR}/komet)

foreach(program komet komet-sim)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

install(DIRECTORY ${CMAKE_SOURCE_DIR}/examples/ DESTINATION ${KOMET_DATA_DIR}/examples)
if(EXISTS ${CMAKE_SOURCE_DIR}/catalogue)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/catalogue/ DESTINATION ${KOMET_DATA_DIR}/catalogue)
endif()
# The programs carry help and pictures inside; these copies are for reading
# and for other programs.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/app/qt/help/ DESTINATION ${KOMET_DATA_DIR}/help)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/app/qt/icons/ DESTINATION ${KOMET_DATA_DIR}/icons)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/komet.svg DESTINATION ${KOMET_DATA_DIR}/icons)

install(FILES ${CMAKE_SOURCE_DIR}/packaging/komet.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/komet.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/komet.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/packaging/icons/komet-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME komet.png)
endforeach()

set(CPACK_PACKAGE_NAME komet)
set(CPACK_PACKAGE_VENDOR "Komet")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flugsimulation für Modellraketen mit bis zu drei Stufen")
set(CPACK_PACKAGE_DESCRIPTION
    "Komet simuliert den senkrechten Flug von Modellraketen mit bis zu drei Stufen, zeigt Höhe, "
    "Geschwindigkeit, Beschleunigung, Kraft und Schub über der Zeit, empfiehlt eine "
    "Ausstoßverzögerung und druckt einen Bericht. Mit dem Kommandozeilenprogramm komet-sim.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Komet <komet@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Fonts that measure like Arial, for the plot and the report.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation, qt6-translations-l10n")
include(CPack)
