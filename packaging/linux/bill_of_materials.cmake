# Writes the .deb's bill of materials: the program, and each Debian package it depends on as
# this machine has it installed, the one the program was built and checked against.
#   cmake -DDEB=<the .deb> -DOUTPUT=<the bill> -P bill_of_materials.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/bill_of_materials.cmake)

function(zav_deb_field field out)
    execute_process(COMMAND dpkg-deb -f ${DEB} ${field} OUTPUT_VARIABLE value
                    OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(${out} "${value}" PARENT_SCOPE)
endfunction()

zav_deb_field(Version version)
zav_deb_field(Depends depends)
file(STRINGS /etc/os-release codename REGEX "^VERSION_CODENAME=")
string(REGEX REPLACE "^VERSION_CODENAME=" "" codename "${codename}")

set(components "")
string(REPLACE "," ";" needs "${depends}")
foreach(need IN LISTS needs)
    # "name (>= version)", or alternatives "a | b": the first, as apt installs it.
    string(REGEX MATCH "^ *([^ |(]+) *(\\(([^)]*)\\))?" matched "${need}")
    set(name ${CMAKE_MATCH_1})
    set(required "${CMAKE_MATCH_3}")
    execute_process(COMMAND dpkg-query -W "-f=\${Version} \${Architecture}" ${name}
                    OUTPUT_VARIABLE installed RESULT_VARIABLE missing ERROR_QUIET)
    if(missing)
        message(FATAL_ERROR "${name}, which the package depends on, is not installed here")
    endif()
    separate_arguments(installed UNIX_COMMAND "${installed}")
    list(GET installed 0 installed_version)
    list(GET installed 1 arch)
    zav_purl_part("${installed_version}" purl_version)
    zav_purl_part("${name}" purl_name)
    set(about "needed: ${name}")
    if(NOT required STREQUAL "")
        set(about "needed: ${name} ${required}")
    endif()
    zav_json_string("${about}; built and checked with ${installed_version}" about)
    zav_bom_component(component library ${name} ${name} ${installed_version} ""
                      "pkg:deb/debian/${purl_name}@${purl_version}?arch=${arch}&distro=${codename}"
                      "\"description\": ${about}")
    # Not a list: a description may hold a semicolon.
    if(NOT components STREQUAL "")
        string(APPEND components ", ")
    endif()
    string(APPEND components "${component}")
endforeach()

zav_bom_component(program application zav-udp-test zav-udp-test ${version} MIT ""
                  "\"description\": \"ZAV UDP Test for Debian (amd64)\", \"supplier\": {\"name\": \"ZAV\"}")
zav_write_bom(${OUTPUT} "${program}" "[${components}]")
