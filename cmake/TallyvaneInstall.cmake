# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# What `cmake --install` puts in place and what cpack packs: the program
# (component "program": both executables, the desktop entry, icons, AppStream
# data, manual pages) and the development files (component "dev": the shared
# component libraries, their headers and the CMake package).
include(CMakePackageConfigHelpers)

set(TALLYVANE_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tallyvane)
# Qt's designer plugin folder, relative to the prefix (under /usr it is the
# folder Designer itself searches).
set(TALLYVANE_DESIGNER_DIR ${QT6_INSTALL_PLUGINS}/designer)
configure_package_config_file(cmake/TallyvaneConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TallyvaneConfig.cmake INSTALL_DESTINATION ${TALLYVANE_CMAKE_DIR}
  PATH_VARS TALLYVANE_DESIGNER_DIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TallyvaneConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TallyvaneConfig.cmake ${PROJECT_BINARY_DIR}/TallyvaneConfigVersion.cmake
  DESTINATION ${TALLYVANE_CMAKE_DIR} COMPONENT dev)

# Desktop integration, under the one application id.
set(DATA ${PROJECT_SOURCE_DIR}/data)
configure_file(${DATA}/tallyvane.desktop.in ${PROJECT_BINARY_DIR}/data/${TALLYVANE_APP_ID}.desktop @ONLY)
configure_file(${DATA}/tallyvane.metainfo.xml.in ${PROJECT_BINARY_DIR}/data/${TALLYVANE_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/data/${TALLYVANE_APP_ID}.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${PROJECT_BINARY_DIR}/data/${TALLYVANE_APP_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(FILES ${DATA}/icons/tallyvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  RENAME ${TALLYVANE_APP_ID}.svg COMPONENT program)
foreach(size 48 128 256)
  install(FILES ${DATA}/icons/tallyvane-${size}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
    RENAME ${TALLYVANE_APP_ID}.png COMPONENT program)
endforeach()
# Manual pages, compressed as Debian wants them.
foreach(page tallyvane tallyvane-schedule)
  configure_file(${DATA}/man/${page}.1.in ${PROJECT_BINARY_DIR}/data/man/${page}.1 @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/data/man/${page}.1.gz
    COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/data/man/${page}.1 > ${PROJECT_BINARY_DIR}/data/man/${page}.1.gz
    DEPENDS ${PROJECT_BINARY_DIR}/data/man/${page}.1 VERBATIM)
  list(APPEND TALLYVANE_MAN_PAGES ${PROJECT_BINARY_DIR}/data/man/${page}.1.gz)
endforeach()
# Each package's copyright file and changelog (a native package's name for it).
foreach(PKG tallyvane tallyvane-dev)
  set(comp program)
  if(PKG STREQUAL "tallyvane-dev")
    set(comp dev)
  endif()
  configure_file(${DATA}/changelog.in ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.Debian @ONLY)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.gz
    COMMAND gzip -9 -n -c ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.Debian
            > ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.gz
    DEPENDS ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.Debian VERBATIM)
  list(APPEND TALLYVANE_MAN_PAGES ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.gz)
  install(FILES ${DATA}/copyright ${PROJECT_BINARY_DIR}/data/${PKG}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${PKG} COMPONENT ${comp})
endforeach()
add_custom_target(tallyvane_man_pages ALL DEPENDS ${TALLYVANE_MAN_PAGES})
install(FILES ${PROJECT_BINARY_DIR}/data/man/tallyvane.1.gz ${PROJECT_BINARY_DIR}/data/man/tallyvane-schedule.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT program)
install(FILES ${DATA}/lintian/tallyvane DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides COMPONENT program)
install(FILES ${DATA}/lintian/tallyvane-dev DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
  COMPONENT dev)

# The Debian packages: tallyvane_<version>_<arch>.deb and tallyvane-dev beside it.
set(CPACK_PACKAGE_NAME tallyvane)
set(CPACK_PACKAGE_VERSION ${TALLYVANE_VERSION})
set(CPACK_PACKAGE_VENDOR "Tallyvane")
set(CPACK_PACKAGE_CONTACT "Tallyvane maintainers <maintainers@tallyvane.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "loan repayment schedule calculator")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL program dev)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME tallyvane)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION math)
# Loaded at run time, so dpkg-shlibdeps cannot see them: the fonts the printout
# and the windows substitute, and libcups for handing jobs to the print server.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core, libcups2 | libcups2t64")
# Qt's Wayland platform plugin, for a native window in a Wayland session;
# without it Qt falls back to X11 (Xwayland), so it is recommended, not required.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION "loan repayment schedule calculator
Tallyvane works out the repayment schedule of a fixed-rate loan with level
monthly or weekly payments: the periodic payment, the total interest and a
table with one row per payment, which it prints with headers, page numbers
and totals, or saves as CSV or PDF. The companion tallyvane-schedule does the
same on the command line.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME tallyvane-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "qt6-base-dev")
# The component libraries' shlibs file and the ldconfig trigger Debian asks of
# a package that ships shared libraries.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_DEV_PACKAGE_CONTROL_EXTRA ${DATA}/debian/triggers)
# Each package's one-line summary is the first line of its own description,
# not one summary for both (cmake/CPackProjectConfig.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/CPackProjectConfig.cmake)
set(CPACK_COMPONENT_DEV_DESCRIPTION "page printer and hover label Qt components (development files)
The page printer builds paged reports from lines and table rows, with
headers, footers and borders, and prints, previews or writes them to a PDF
or a text file; the hover label is a flat command button. This package
holds their shared libraries, headers and the CMake package Tallyvane.")
include(CPack)
