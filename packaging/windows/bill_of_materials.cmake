# The Windows downloads' bill of materials: the program, Qt with each third-party part compiled
# into it (the parts LICENSES.txt names), GCC's runtime and winpthreads, all linked into the one
# .exe; the three downloads carry the same program, so one bill serves them.
#   zav_write_windows_bom(<output file>)
include(${PROJECT_SOURCE_DIR}/cmake/bill_of_materials.cmake)

# The Debian source package and version an installed package (of this machine's cross
# compiler) was built from, and the upstream version it holds: the leading numbers of the
# package's own version (gcc-mingw-w64 27 builds GCC 14.2.0 as 14.2.0-19+27).
function(zav_installed_source package out_source out_revision out_version)
    execute_process(COMMAND dpkg-query -W "-f=\${source:Package} \${source:Version} \${Version}"
                            ${package}
                    OUTPUT_VARIABLE source COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(source UNIX_COMMAND "${source}")
    list(GET source 0 name)
    list(GET source 1 revision)
    list(GET source 2 version)
    string(REGEX REPLACE "^[0-9]+:" "" version "${version}")
    string(REGEX MATCH "^[0-9][0-9.]*[0-9]" version "${version}")
    set(${out_source} "${name}" PARENT_SCOPE)
    set(${out_revision} "${revision}" PARENT_SCOPE)
    set(${out_version} "${version}" PARENT_SCOPE)
endfunction()

# A part of Qt as its attribution describes it; the "$<VERSION>" in its package URL and CPE name
# stands for its version.
function(zav_qt_part_component entry out)
    string(JSON id GET "${entry}" Id)
    string(JSON name GET "${entry}" Name)
    foreach(key Version LicenseId PURL CPE Homepage)
        string(JSON ${key} ERROR_VARIABLE missing GET "${entry}" ${key})
        if(missing)
            set(${key} "")
        endif()
        # Where a part names several, the first.
        string(JSON kind ERROR_VARIABLE missing TYPE "${entry}" ${key})
        if(kind STREQUAL "ARRAY")
            string(JSON ${key} GET "${entry}" ${key} 0)
        endif()
        string(REPLACE "$<VERSION>" "${Version}" ${key} "${${key}}")
    endforeach()
    set(fields "")
    if(NOT CPE STREQUAL "")
        zav_json_string("${CPE}" cpe)
        string(APPEND fields "\"cpe\": ${cpe}")
    endif()
    if(NOT Homepage STREQUAL "")
        zav_json_string("${Homepage}" homepage)
        if(NOT fields STREQUAL "")
            string(APPEND fields ", ")
        endif()
        string(APPEND fields "\"externalReferences\": [{\"type\": \"website\", \"url\": ${homepage}}]")
    endif()
    zav_bom_component(component library "qt6-base/${id}" "${name}" "${Version}" "${LicenseId}"
                      "${PURL}" "${fields}")
    set(${out} "${component}" PARENT_SCOPE)
endfunction()

function(zav_write_windows_bom output)
    zav_qt_source(source revision qt_version release)
    zav_purl_part("${revision}" purl_revision)
    zav_qt_parts(parts)
    set(qt_parts "[]")
    set(index 0)
    foreach(part IN LISTS parts)
        zav_qt_part(${part} entry folder)
        zav_qt_part_component("${entry}" component)
        string(JSON qt_parts SET "${qt_parts}" ${index} "${component}")
        math(EXPR index "${index} + 1")
    endforeach()
    zav_json_string("Qt's base module (Core, Gui, Widgets, the Windows platform plugin and styles), built unchanged from the source package ${source} of ${release}" about)
    zav_bom_component(qt library qt6-base qtbase ${qt_version} LGPL-3.0-only
                      "pkg:deb/debian/qt6-base@${purl_revision}?arch=source"
                      "\"description\": ${about}, \"components\": ${qt_parts}")

    zav_installed_source(gcc-mingw-w64-base gcc_source gcc_revision gcc_version)
    zav_purl_part("${gcc_revision}" gcc_purl)
    zav_bom_component(gcc library gcc-runtime "libstdc++ and libgcc" ${gcc_version}
                      "GPL-3.0-or-later WITH GCC-exception-3.1"
                      "pkg:deb/debian/${gcc_source}@${gcc_purl}?arch=source"
                      "\"description\": \"GCC's runtime libraries, from Debian's ${gcc_source} ${gcc_revision}\"")

    zav_installed_source(mingw-w64-x86-64-dev mingw_source mingw_revision mingw_version)
    zav_purl_part("${mingw_revision}" mingw_purl)
    zav_bom_component(threads library winpthreads winpthreads ${mingw_version}
                      "MIT AND BSD-3-Clause" "pkg:deb/debian/${mingw_source}@${mingw_purl}?arch=source"
                      "\"description\": \"The threads library of mingw-w64, from Debian's ${mingw_source} ${mingw_revision}\"")

    zav_bom_component(program application zav-udp-test zav-udp-test ${ZAV_VERSION_TEXT} MIT ""
                      "\"description\": \"ZAV UDP Test for Windows (x64)\", \"supplier\": {\"name\": \"ZAV\"}")
    zav_write_bom(${output} "${program}" "[${qt}, ${gcc}, ${threads}]")
endfunction()
