# Installation as a desktop program (bin/, the menu entry, the catalog file
# type, the icon, AppStream metainfo, man pages) and the Debian package.
include(GNUInstallDirs)
set(KEST_APP_ID org.kest_catalog.Kest)
set(_pkg ${CMAKE_SOURCE_DIR}/packaging)
set(_gen ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS kest-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
foreach(_page kest kest-cli)
  configure_file(${_pkg}/${_page}.1.in ${_gen}/${_page}.1 @ONLY)
  install(FILES ${_gen}/${_page}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

if(TARGET kest)
  install(TARGETS kest RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(${_pkg}/${KEST_APP_ID}.metainfo.xml.in ${_gen}/${KEST_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${_pkg}/${KEST_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${_gen}/${KEST_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${_pkg}/${KEST_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME ${KEST_APP_ID}.xml)

  set(_icon ${CMAKE_SOURCE_DIR}/src/gui/resources/kest.svg)
  set(_icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  install(FILES ${_icon} DESTINATION ${_icons}/scalable/apps RENAME ${KEST_APP_ID}.svg)
  # The bitmap sizes are drawn from the one SVG at build time.
  find_program(RSVG_CONVERT rsvg-convert REQUIRED)
  set(_pngs)
  foreach(_size 16 24 32 48 64 128 256)
    set(_png ${_gen}/icons/${_size}/${KEST_APP_ID}.png)
    add_custom_command(OUTPUT ${_png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${_gen}/icons/${_size}
      COMMAND ${RSVG_CONVERT} -w ${_size} -h ${_size} -o ${_png} ${_icon}
      DEPENDS ${_icon} VERBATIM)
    list(APPEND _pngs ${_png})
    install(FILES ${_png} DESTINATION ${_icons}/${_size}x${_size}/apps)
  endforeach()
  add_custom_target(kest_icons ALL DEPENDS ${_pngs})
endif()

set(CPACK_PACKAGE_NAME kest)
set(CPACK_PACKAGE_VERSION ${KEST_VERSION})
set(CPACK_PACKAGE_CONTACT "${KEST_MAKER_NAME} <${KEST_MAKER_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "catalog of removable media, searchable without the disc")
set(CPACK_PACKAGE_DESCRIPTION
  "Kest scans CDs, DVDs, USB sticks and any mounted folder into a catalog file and\nfinds files, folders and archive entries in it while the disc is elsewhere.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${KEST_HOME_PAGE})
# The libraries' packages come from dpkg-shlibdeps; xdg-open is started as a
# program, HTTPS loads libssl, the SVG pictures a Qt plugin at run time and
# the help window's fixed-width text DejaVu Sans Mono, so those are named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "xdg-utils, libssl3, libqt6svg6, fonts-dejavu-core")
# The programs are installed without their debugging information (most of
# their size); the build folder keeps it.
set(CPACK_STRIP_FILES ON)
include(CPack)
