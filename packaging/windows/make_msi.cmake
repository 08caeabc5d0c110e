# Packs the installed folder into an MSI with wixl:
#   cmake -DBUILD_DIR=... -DWIXL=... -DICON=... -DVERSION_TEXT=... -DOUTPUT=... -P make_msi.cmake
# Every installed file becomes a component under "ZAV UDP Test" in Program Files; the program
# gets a Start-menu shortcut with its icon. The MSI is dual-purpose: started by a user who is not
# an administrator, it installs for that user alone (Windows puts Program Files in their profile
# then, and asks for no rights); with ALLUSERS=1, as deployment tools pass it, for everyone. The
# upgrade code stays the same for every version, and the product and package codes are made from
# the version: a newer MSI replaces an older one of the same kind (a major upgrade), an older one
# is refused, and the same version, rebuilt, is the same product and package. With
# SOURCE_DATE_EPOCH set, the MSI's dates are that time, and the same files give the same bytes.

cmake_minimum_required(VERSION 3.25)

set(stage ${BUILD_DIR}/msi-stage)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage}
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(GLOB_RECURSE files RELATIVE ${stage} ${stage}/*)
list(SORT files)

# The cabinet keeps each file's date, the summary the time wixl and msibuild run: both are
# SOURCE_DATE_EPOCH where it is set. The two tools take no time but the clock's, so they run
# with it stopped at that time (faketime).
set(clock "")
if(DEFINED ENV{SOURCE_DATE_EPOCH})
    foreach(file IN LISTS files)
        execute_process(COMMAND touch -d @$ENV{SOURCE_DATE_EPOCH} ${stage}/${file}
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    string(TIMESTAMP stopped "%Y-%m-%d %H:%M:%S" UTC)
    find_program(FAKETIME faketime REQUIRED)
    set(clock ${CMAKE_COMMAND} -E env TZ=UTC ${FAKETIME} -f ${stopped})
endif()

# The components, folder by folder (the installed folder has one level of subfolders).
set(root_components "")
set(subfolders "")
set(component_refs "")
set(index 0)
foreach(file IN LISTS files)
    math(EXPR index "${index} + 1")
    get_filename_component(folder ${file} DIRECTORY)
    get_filename_component(name ${file} NAME)
    set(shortcut "")
    if(file STREQUAL "zav-udp-test.exe")
        set(shortcut "
            <Shortcut Id=\"StartMenuShortcut\" Directory=\"ProgramMenuFolder\" Name=\"ZAV UDP Test\"
                      WorkingDirectory=\"INSTALLDIR\" Icon=\"ProgramIcon\" Advertise=\"no\"/>")
    endif()
    set(component "
        <Component Id=\"File${index}\" Guid=\"*\" Win64=\"yes\">
          <File Id=\"File${index}\" Name=\"${name}\" Source=\"msi-stage/${file}\" KeyPath=\"yes\">${shortcut}
          </File>
        </Component>")
    string(APPEND component_refs "\n      <ComponentRef Id=\"File${index}\"/>")
    if(folder STREQUAL "")
        string(APPEND root_components "${component}")
    else()
        string(MAKE_C_IDENTIFIER "${folder}" folder_id)
        if(NOT folder_id IN_LIST subfolders)
            list(APPEND subfolders ${folder_id})
            set(folder_name_${folder_id} ${folder})
        endif()
        string(APPEND components_${folder_id} "${component}")
    endif()
endforeach()
set(folders "")
foreach(folder_id IN LISTS subfolders)
    string(APPEND folders "
        <Directory Id=\"Folder_${folder_id}\" Name=\"${folder_name_${folder_id}}\">${components_${folder_id}}
        </Directory>")
endforeach()

string(UUID product_code NAMESPACE 7541C0EC-8E4A-403E-8EE8-6724142A762F NAME "${VERSION_TEXT}"
       TYPE SHA1 UPPER)
string(UUID package_code NAMESPACE 7541C0EC-8E4A-403E-8EE8-6724142A762F
       NAME "package ${VERSION_TEXT}" TYPE SHA1 UPPER)

# wixl takes only paths relative to where it runs.
file(RELATIVE_PATH icon ${BUILD_DIR} ${ICON})

file(WRITE ${BUILD_DIR}/zav-udp-test.wxs "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"${product_code}\" Name=\"ZAV UDP Test\" Language=\"1033\" Version=\"${VERSION_TEXT}\" Manufacturer=\"ZAV\"
           UpgradeCode=\"7541C0EC-8E4A-403E-8EE8-6724142A762F\">
    <Package InstallerVersion=\"500\" Compressed=\"yes\"
             InstallScope=\"perUser\" Description=\"ZAV UDP Test ${VERSION_TEXT}\"/>
    <Property Id=\"ALLUSERS\" Value=\"2\"/>
    <Property Id=\"MSIINSTALLPERUSER\" Value=\"1\"/>
    <Media Id=\"1\" Cabinet=\"program.cab\" EmbedCab=\"yes\"/>
    <MajorUpgrade DowngradeErrorMessage=\"A newer version of ZAV UDP Test is already installed. To install this one, uninstall that first.\"/>
    <Icon Id=\"ProgramIcon\" SourceFile=\"${icon}\"/>
    <Property Id=\"ARPPRODUCTICON\" Value=\"ProgramIcon\"/>
    <Property Id=\"ARPNOMODIFY\" Value=\"1\"/>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"INSTALLDIR\" Name=\"ZAV UDP Test\">${root_components}${folders}
        </Directory>
      </Directory>
      <Directory Id=\"ProgramMenuFolder\"/>
    </Directory>
    <Feature Id=\"Program\" Level=\"1\">${component_refs}
    </Feature>
  </Product>
</Wix>
")
execute_process(COMMAND ${clock} ${WIXL} -a x64 -o ${OUTPUT} zav-udp-test.wxs
                WORKING_DIRECTORY ${BUILD_DIR} COMMAND_ERROR_IS_FATAL ANY)
# wixl gives every MSI a package code of its own; msibuild sets the one made from the version.
find_program(MSIBUILD msibuild REQUIRED)
execute_process(COMMAND ${clock} ${MSIBUILD} ${OUTPUT} -s "ZAV UDP Test ${VERSION_TEXT}" ZAV "x64;1033"
                        "{${package_code}}"
                COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "MSI: ${OUTPUT}")
