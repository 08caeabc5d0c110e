# The Windows program: zav-udp-test.exe, with Qt and the compiler's runtime linked in, and the
# licences that let it be passed on (LICENSES.txt); nothing else. Packed as a .zip by the zav_zip
# target, as an installer by the zav_installer target and as an MSI by the zav_msi target.
include(windows/notices.cmake)
include(windows/bill_of_materials.cmake)
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
# The bill of materials, beside the downloads (not in them).
zav_write_windows_bom(${PROJECT_BINARY_DIR}/zav-udp-test-${ZAV_VERSION_TEXT}-win64.cdx.json)
# The upgrade check's older build carries files the current one does not, which an upgrade must
# take away.
set(ZAV_EXTRA_FILES "" CACHE STRING "More files to install beside the program")
if(ZAV_EXTRA_FILES)
    install(FILES ${ZAV_EXTRA_FILES} DESTINATION .)
endif()

# The zip: what `cmake --install` puts in a folder of its own, packed by make_zip.py under a
# folder named as the zip is, each entry dated SOURCE_DATE_EPOCH.
find_program(ZAV_PYTHON python3)
if(ZAV_PYTHON)
    set(zip_stage ${PROJECT_BINARY_DIR}/zip-files)
    set(zip_name zav-udp-test-${ZAV_VERSION_TEXT}-win64)
    add_custom_target(zav_zip
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${zip_stage}
        COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${zip_stage}
        COMMAND ${ZAV_PYTHON} ${CMAKE_CURRENT_LIST_DIR}/make_zip.py ${zip_stage} ${zip_name}
                ${PROJECT_BINARY_DIR}/${zip_name}.zip
        DEPENDS zav-udp-test zav_icons
        COMMENT "Packing the zip")
endif()

# The installer, from a script of our own (installer.nsi.in) on NSIS's MultiUser.nsh: what
# `cmake --install` puts in a folder of its own, packed by makensis.
find_program(ZAV_MAKENSIS makensis)
if(ZAV_MAKENSIS)
    set(stage ${PROJECT_BINARY_DIR}/installer-files)
    set(installer_extra "")
    set(installer_extra_removed "")
    foreach(file IN LISTS ZAV_EXTRA_FILES)
        get_filename_component(name ${file} NAME)
        string(APPEND installer_extra "File \"${file}\"\n    ")
        string(APPEND installer_extra_removed "Delete \"$INSTDIR\\${name}\"\n    ")
    endforeach()
    set(VERSION_TEXT ${ZAV_VERSION_TEXT})
    set(VERSION_NUMBERS ${ZAV_VERSION_NUMBERS})
    set(COPYRIGHT ${ZAV_COPYRIGHT})
    set(ICON ${ZAV_ICON_ICO})
    set(LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
    set(STAGE ${stage})
    set(EXTRA_FILES ${installer_extra})
    set(EXTRA_FILES_REMOVED ${installer_extra_removed})
    set(OUTPUT ${PROJECT_BINARY_DIR}/zav-udp-test-${ZAV_VERSION_TEXT}-win64.exe)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/installer.nsi.in ${PROJECT_BINARY_DIR}/installer.nsi
                   @ONLY)
    add_custom_target(zav_installer
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
        COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${stage}
        COMMAND ${ZAV_MAKENSIS} -V2 ${PROJECT_BINARY_DIR}/installer.nsi
        DEPENDS zav-udp-test zav_icons
        COMMENT "Packing the installer with makensis")
endif()

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
