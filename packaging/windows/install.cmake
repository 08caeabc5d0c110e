# One self-contained folder: the program, the toolkit's libraries, the two plugins the program
# loads (the Windows platform and the Windows styles), the compiler's runtime libraries, and
# the licences that let it be passed on (LICENSES.txt); nothing else. Packed as a .zip and an
# installer by CPack, and as an MSI by the zav_msi target.

# The runtime libraries are found by reading each file's imports, on any build host.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${CMAKE_OBJDUMP})
# Where the compiler's runtime libraries are, by asking the compiler.
set(runtime_folders)
foreach(library libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${library}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(folder ${found} DIRECTORY)
    list(APPEND runtime_folders ${folder})
endforeach()

install(TARGETS zav-udp-test RUNTIME_DEPENDENCY_SET zav_windows_libraries RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::Core Qt6::Gui Qt6::Widgets
        RUNTIME_DEPENDENCY_SET zav_windows_libraries RUNTIME DESTINATION .)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsIntegrationPlugin
        RUNTIME_DEPENDENCY_SET zav_windows_libraries LIBRARY DESTINATION platforms)
install(IMPORTED_RUNTIME_ARTIFACTS Qt6::QWindowsVistaStylePlugin
        RUNTIME_DEPENDENCY_SET zav_windows_libraries LIBRARY DESTINATION styles)
# The compiler's runtime libraries that all of these load travel with them; the system's stay.
# (The toolkit's libraries are named above: their names, read from the imports in lower case,
# would not be found on a build host whose file names are case-sensitive.)
install(RUNTIME_DEPENDENCY_SET zav_windows_libraries DESTINATION .
        PRE_INCLUDE_REGEXES "^lib"
        PRE_EXCLUDE_REGEXES ".*"
        DIRECTORIES ${runtime_folders})
# What is shipped carries no symbols: that more than halves the download.
install(CODE "
    file(GLOB_RECURSE binaries \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\"
                               \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.exe\")
    foreach(binary IN LISTS binaries)
        execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${binary} COMMAND_ERROR_IS_FATAL ANY)
    endforeach()")

# Ours, the third parties', and the full texts the toolkit's licence asks for.
set(licences ${PROJECT_BINARY_DIR}/LICENSES.txt)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE ours)
file(READ windows/third-party.txt theirs)
file(READ /usr/share/common-licenses/LGPL-3 lgpl)
file(READ /usr/share/common-licenses/GPL-3 gpl)
file(WRITE ${licences} "ZAV UDP Test\n============\n\n${ours}\n\n${theirs}\n\n${lgpl}\n\n${gpl}")
install(FILES ${licences} DESTINATION .)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_FILE_NAME zav-udp-test-${ZAV_VERSION_TEXT}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZAV UDP Test")
set(CPACK_PACKAGE_EXECUTABLES zav-udp-test "ZAV UDP Test")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program: it runs where only 64-bit programs can, and writes
# the uninstall entry where Windows looks for a 64-bit program's.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZAV UDP Test")
set(CPACK_NSIS_DISPLAY_NAME "ZAV UDP Test")
set(CPACK_NSIS_PACKAGE_NAME "ZAV UDP Test")
set(CPACK_NSIS_INSTALLED_ICON_NAME zav-udp-test.exe)
set(CPACK_NSIS_MUI_ICON ${ZAV_ICON_ICO})
set(CPACK_NSIS_MUI_UNIICON ${ZAV_ICON_ICO})

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
