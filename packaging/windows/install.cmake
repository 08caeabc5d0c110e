# The Windows program: zav-udp-test.exe, with Qt and the compiler's runtime linked in, and the
# licences that let it be passed on (LICENSES.txt); nothing else. Packed as a .zip and an
# installer by CPack, and as an MSI by the zav_msi target.
include(windows/notices.cmake)
# The Qt that scripts/build-qt-windows built, with its record of what went into it.
get_filename_component(ZAV_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

install(TARGETS zav-udp-test RUNTIME DESTINATION .)
# What is shipped carries no symbols.
install(CODE "execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded
                                      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/zav-udp-test.exe\"
                              COMMAND_ERROR_IS_FATAL ANY)")
set(licences ${PROJECT_BINARY_DIR}/LICENSES.txt)
zav_write_notices(${licences})
install(FILES ${licences} DESTINATION .)
# The upgrade check's older build carries files the current one does not, which an upgrade must
# take away.
set(ZAV_EXTRA_FILES "" CACHE STRING "More files to install beside the program")
if(ZAV_EXTRA_FILES)
    install(FILES ${ZAV_EXTRA_FILES} DESTINATION .)
endif()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME zav-udp-test-${ZAV_VERSION_TEXT}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZAV UDP Test")
set(CPACK_PACKAGE_EXECUTABLES zav-udp-test "ZAV UDP Test")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program: it runs where only 64-bit programs can, and writes
# the uninstall entry where Windows looks for a 64-bit program's. Explorer shows its version.
string(JOIN "\n" CPACK_NSIS_DEFINES
    "Target amd64-unicode"
    "SetCompressor /SOLID lzma"
    "VIProductVersion ${ZAV_VERSION_NUMBERS}"
    "VIAddVersionKey /LANG=1033 ProductName \"ZAV UDP Test\""
    "VIAddVersionKey /LANG=1033 ProductVersion ${ZAV_VERSION_TEXT}"
    "VIAddVersionKey /LANG=1033 FileVersion ${ZAV_VERSION_TEXT}"
    "VIAddVersionKey /LANG=1033 FileDescription \"ZAV UDP Test installer\""
    "VIAddVersionKey /LANG=1033 CompanyName ZAV"
    "VIAddVersionKey /LANG=1033 LegalCopyright \"${ZAV_COPYRIGHT}\"")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZAV UDP Test")
set(CPACK_NSIS_DISPLAY_NAME "ZAV UDP Test")
set(CPACK_NSIS_PACKAGE_NAME "ZAV UDP Test")
set(CPACK_NSIS_INSTALLED_ICON_NAME zav-udp-test.exe)
set(CPACK_NSIS_MUI_ICON ${ZAV_ICON_ICO})
set(CPACK_NSIS_MUI_UNIICON ${ZAV_ICON_ICO})
# An older version is uninstalled first, so no file of it stays behind.
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The installer's script (NSIS.template.in): for the user alone or for everyone, by the rights
# it runs with.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})

# The MSI, for studios whose IT installs software centrally.
find_program(ZAV_WIXL wixl)
if(ZAV_WIXL)
    add_custom_target(zav_msi
        COMMAND ${CMAKE_COMMAND} -DBUILD_DIR=${PROJECT_BINARY_DIR} -DWIXL=${ZAV_WIXL}
                -DICON=${ZAV_ICON_ICO} -DVERSION_TEXT=${ZAV_VERSION_TEXT}
                -DOUTPUT=${PROJECT_BINARY_DIR}/zav-udp-test-${ZAV_VERSION_TEXT}-win64.msi
                -P ${CMAKE_CURRENT_SOURCE_DIR}/windows/make_msi.cmake
        DEPENDS zav-udp-test zav_icons
        COMMENT "Packing the MSI with wixl")
endif()
