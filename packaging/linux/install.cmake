# The program in the system's folders, with its launcher, icons and software-centre entry; the
# .deb carries them.
include(GNUInstallDirs)

install(TARGETS zav-udp-test RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
configure_file(linux/net.zav.UdpTest.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/net.zav.UdpTest.metainfo.xml @ONLY)
install(FILES linux/net.zav.UdpTest.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/net.zav.UdpTest.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZAV_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES linux/zav-udp-test.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
