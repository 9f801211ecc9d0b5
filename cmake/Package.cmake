# What an install puts in place, and the Debian package made of it:
#   cmake --build build --target tovrimo && (cd build && cpack -G DEB)
# (scripts/package.sh does both). Dependencies come from dpkg-shlibdeps, plus cups-client.
set(TOVRIMO_HOMEPAGE "https://tovrimo.example.org/" CACHE STRING
  "The project's web address, in the package and the AppStream metadata (ends in /)")
set(TOVRIMO_APPSTREAM_ID org.tovrimo.Tovrimo)

install(TARGETS tovrimo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES resources/tovrimo.html DESTINATION ${CMAKE_INSTALL_DATADIR}/tovrimo)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES resources/icons/${size}x${size}/tovrimo.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES resources/icons/tovrimo.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# KWin grants its screenshot interface to the binary that the installed entry names by its
# absolute path (a name looked up on PATH does not count). The path is the one of the install
# itself, known only when it runs: cpack installs under its own prefix (/usr).
set(TOVRIMO_INSTALLED_BINARY ${CMAKE_INSTALL_FULL_BINDIR}/tovrimo)
configure_file(resources/tovrimo.desktop.in ${CMAKE_BINARY_DIR}/tovrimo.desktop @ONLY)
install(CODE "
  file(READ \"${CMAKE_SOURCE_DIR}/resources/tovrimo.desktop.in\" entry)
  string(REPLACE \"@TOVRIMO_INSTALLED_BINARY@\" \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/tovrimo\"
    entry \"\${entry}\")
  file(WRITE \"${CMAKE_BINARY_DIR}/installed-entry/tovrimo.desktop\" \"\${entry}\")
  file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications\"
    TYPE FILE FILES \"${CMAKE_BINARY_DIR}/installed-entry/tovrimo.desktop\")
")
configure_file(resources/${TOVRIMO_APPSTREAM_ID}.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/${TOVRIMO_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${TOVRIMO_APPSTREAM_ID}.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the changelog go in compressed, without a time stamp in the gzip header,
# so that the same sources give the same package.
find_program(GZIP gzip REQUIRED)
set(compressed ${CMAKE_BINARY_DIR}/compressed)
add_custom_command(OUTPUT ${compressed}/tovrimo.1.gz ${compressed}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed}
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/resources/tovrimo.1 > ${compressed}/tovrimo.1.gz
  COMMAND ${GZIP} -9nc ${CMAKE_SOURCE_DIR}/resources/changelog > ${compressed}/changelog.gz
  DEPENDS resources/tovrimo.1 resources/changelog
  VERBATIM)
add_custom_target(tovrimo_docs ALL DEPENDS ${compressed}/tovrimo.1.gz ${compressed}/changelog.gz)
install(FILES ${compressed}/tovrimo.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${compressed}/changelog.gz resources/copyright
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tovrimo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovrimo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tovrimo developers")
set(CPACK_PACKAGE_CONTACT "Tovrimo developers <tovrimo@tovrimo.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "screen hard copies from the notification area")
set(CPACK_PACKAGE_DESCRIPTION
  "Tovrimo lives in the notification area of X11 and Wayland desktops and
makes hard copies of the screen: the whole desktop, the active window, a
region, the clipboard or an image file. It prints the picture on one page
through CUPS, with a title line, copies it to the clipboard or pins it to
the desktop as a sticky note. Global hot keys, a self-timer, named print
settings and command-line jobs are included. The interface is Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOVRIMO_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "cups-client")
# Wayland needs Qt's plugin and the clipboard tools; the interface needs a Japanese font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, wl-clipboard, fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
