# What `cmake --install` puts under the prefix, and the Debian package `cpack -G DEB`
# builds from it: the two programs, the desktop entry and the icon in the hicolor sizes.
include(GNUInstallDirs)

install(TARGETS tsumugi-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TSUMUGI_BUILD_UI)
  install(TARGETS tsumugi RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/tsumugi.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  # The icon is drawn in code; the program writes it out in the theme's sizes.
  set(TSUMUGI_ICON_DIR ${PROJECT_BINARY_DIR}/icons)
  add_custom_command(TARGET tsumugi POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:tsumugi> --write-icons ${TSUMUGI_ICON_DIR}
    COMMENT "Drawing the icon in the hicolor sizes")
  install(DIRECTORY ${TSUMUGI_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
endif()

set(CPACK_PACKAGE_NAME tsumugi)
set(CPACK_PACKAGE_VENDOR "Tsumugi developers")
set(CPACK_PACKAGE_CONTACT "Tsumugi developers <tsumugi@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Data editor for the ROM image of a Game Boy Advance strategy RPG")
set(CPACK_PACKAGE_INSTALL_DIRECTORY tsumugi)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://localhost/tsumugi")
# The libraries the programs link, as Debian 12 names them; the Qt platform plugins
# (qt6-qpa-plugins) are what lets the window open at all.
find_program(TSUMUGI_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TSUMUGI_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libc6, libstdc++6, zlib1g, libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), qt6-qpa-plugins")
endif()
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")
include(CPack)
