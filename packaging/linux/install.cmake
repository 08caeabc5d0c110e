# The program in the system's folders, with its launcher, icons, software-centre entry, manual
# page, copyright and changelog; the .deb carries them.
include(GNUInstallDirs)

# The changelog is history, written by hand: its newest entry must be this version, of this day,
# as dpkg reads it.
set(changelog_file ${CMAKE_CURRENT_SOURCE_DIR}/linux/changelog)
execute_process(COMMAND dpkg-parsechangelog -l ${changelog_file} -S Version
                OUTPUT_VARIABLE newest_version OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND dpkg-parsechangelog -l ${changelog_file} -S Timestamp
                OUTPUT_VARIABLE newest_timestamp OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND date -u -d @${newest_timestamp} +%F
                OUTPUT_VARIABLE newest_date OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
if(NOT newest_version STREQUAL ZAV_VERSION_TEXT OR NOT newest_date STREQUAL ZAV_RELEASE_DATE)
    message(FATAL_ERROR "packaging/linux/changelog's newest entry is ${newest_version} of "
            "${newest_date}; the project is ${ZAV_VERSION_TEXT} of ${ZAV_RELEASE_DATE}")
endif()

# One description for the software centre and the package.
file(READ linux/description.txt ZAV_DESCRIPTION)
string(STRIP "${ZAV_DESCRIPTION}" ZAV_DESCRIPTION)
string(REPLACE "\n" " " ZAV_DESCRIPTION_LINE "${ZAV_DESCRIPTION}")

# The toolkit is in the system's library folders: the installed program needs no search path.
set_target_properties(zav-udp-test PROPERTIES INSTALL_RPATH "")
install(TARGETS zav-udp-test RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# A stripped install (the package's) also drops the compiler's notes, as Debian's tools do.
install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND ${CMAKE_STRIP} --remove-section=.comment --remove-section=.note
                                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/zav-udp-test\"
                        COMMAND_ERROR_IS_FATAL ANY)
    endif()")
configure_file(linux/net.zav.UdpTest.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/net.zav.UdpTest.metainfo.xml @ONLY)
install(FILES linux/net.zav.UdpTest.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/net.zav.UdpTest.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${ZAV_ICON_PNG} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
install(FILES linux/zav-udp-test.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the changelog, compressed as Debian keeps them (no name or time inside).
configure_file(linux/zav-udp-test.1.in ${CMAKE_CURRENT_BINARY_DIR}/zav-udp-test.1 @ONLY)
set(manual_page ${CMAKE_CURRENT_BINARY_DIR}/zav-udp-test.1.gz)
set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${manual_page}
    COMMAND gzip -9nc ${CMAKE_CURRENT_BINARY_DIR}/zav-udp-test.1 > ${manual_page}
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/zav-udp-test.1)
add_custom_command(OUTPUT ${changelog}
    COMMAND gzip -9nc ${CMAKE_CURRENT_SOURCE_DIR}/linux/changelog > ${changelog}
    DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/linux/changelog)
add_custom_target(zav_documents ALL DEPENDS ${manual_page} ${changelog})
install(FILES ${manual_page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${changelog} linux/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zav-udp-test)
install(FILES linux/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME zav-udp-test)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${ZAV_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The C library converts a host name of other than ASCII letters with libidn2, which it loads
# only when such a name is looked up.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS libidn2-0)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
# The binary is shipped without symbols (see above); scripts/build-deb adds Debian's hardening
# flags.
set(CPACK_STRIP_FILES TRUE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
