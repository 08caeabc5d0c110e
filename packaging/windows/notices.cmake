# Writes LICENSES.txt for the Windows program, which carries Qt, the third-party code compiled
# into Qt, and the compiler's runtime, all linked into the one .exe: our licence, then each of
# theirs, from what the Qt build recorded (scripts/build-qt-windows keeps it in the prefix's
# share/zav-notices: the source version, the options, the files the compiler read, and the
# attribution and licence files of Qt's source) and from the licence files Debian installs with
# the compiler.
#   zav_write_notices(<output file>)

# The paragraph of a Debian copyright file that starts with `first_line` (up to a blank line).
function(zav_debian_paragraph file first_line out)
    file(READ ${file} text)
    string(FIND "${text}" "\n${first_line}\n" start)
    if(start EQUAL -1)
        message(FATAL_ERROR "no '${first_line}' in ${file}")
    endif()
    math(EXPR start "${start} + 1")
    string(SUBSTRING "${text}" ${start} -1 rest)
    string(FIND "${rest}" "\n\n" end)
    string(SUBSTRING "${rest}" 0 ${end} paragraph)
    set(${out} "${paragraph}" PARENT_SCOPE)
endfunction()

# One entry of a qt_attribution.json: its name, copyright, licence and the licence's text.
function(zav_attribution_notice json_text folder out)
    set(notice "")
    foreach(key Name Copyright License)
        string(JSON value ERROR_VARIABLE missing GET "${json_text}" ${key})
        if(NOT missing)
            string(APPEND notice "${value}\n")
        endif()
    endforeach()
    set(licence_files "")
    string(JSON one ERROR_VARIABLE missing GET "${json_text}" LicenseFile)
    if(NOT missing)
        list(APPEND licence_files "${one}")
    endif()
    string(JSON count ERROR_VARIABLE missing LENGTH "${json_text}" LicenseFiles)
    if(NOT missing AND count GREATER 0)
        math(EXPR last "${count} - 1")
        foreach(i RANGE ${last})
            string(JSON one GET "${json_text}" LicenseFiles ${i})
            list(APPEND licence_files "${one}")
        endforeach()
    endif()
    foreach(licence IN LISTS licence_files)
        file(READ "${folder}/${licence}" licence_text)
        string(APPEND notice "\n${licence_text}\n")
    endforeach()
    set(${out} "${notice}" PARENT_SCOPE)
endfunction()

# The parts of Qt's source compiled into the program, each as "<attribution file>#<entry>" (the
# entry's index in the file's array, or -1 where the file holds one entry), in a stable order.
function(zav_qt_parts out)
    set(recorded ${ZAV_QT_PREFIX}/share/zav-notices)
    # A part of Qt's source counts when the compiler read a file under its attribution's folder.
    file(READ ${recorded}/files-read files_read)
    set(files_read "\n${files_read}")
    file(GLOB_RECURSE attributions RELATIVE ${recorded} ${recorded}/*/qt_attribution.json)
    list(SORT attributions)
    set(parts "")
    foreach(attribution IN LISTS attributions)
        get_filename_component(part ${attribution} DIRECTORY)
        string(FIND "${files_read}" "\n${part}/" read)
        if(read EQUAL -1)
            continue()
        endif()
        file(READ ${recorded}/${attribution} json)
        string(JSON type TYPE "${json}")
        set(indices -1)
        if(type STREQUAL "ARRAY")
            string(JSON count LENGTH "${json}")
            math(EXPR last "${count} - 1")
            set(indices "")
            foreach(i RANGE ${last})
                list(APPEND indices ${i})
            endforeach()
        endif()
        foreach(i IN LISTS indices)
            set(entry "${json}")
            if(NOT i EQUAL -1)
                string(JSON entry GET "${json}" ${i})
            endif()
            # An entry for a folder of its own (the regular expressions' JIT compiler) counts
            # only when that folder was read.
            string(JSON path ERROR_VARIABLE whole_part GET "${entry}" Path)
            if(NOT whole_part)
                string(FIND "${files_read}" "\n${part}/${path}/" read)
                if(read EQUAL -1)
                    continue()
                endif()
            endif()
            list(APPEND parts "${attribution}#${i}")
        endforeach()
    endforeach()
    set(${out} "${parts}" PARENT_SCOPE)
endfunction()

# One part's attribution entry (JSON) and the folder its licence files are in.
function(zav_qt_part part out_entry out_folder)
    string(REGEX MATCH "^(.*)#(-?[0-9]+)$" matched "${part}")
    set(file ${ZAV_QT_PREFIX}/share/zav-notices/${CMAKE_MATCH_1})
    file(READ ${file} entry)
    if(NOT CMAKE_MATCH_2 EQUAL -1)
        string(JSON entry GET "${entry}" ${CMAKE_MATCH_2})
    endif()
    get_filename_component(folder ${file} DIRECTORY)
    set(${out_entry} "${entry}" PARENT_SCOPE)
    set(${out_folder} "${folder}" PARENT_SCOPE)
endfunction()

# What the Qt build recorded of its source: the Debian source package and version, the upstream
# version, and the Debian release it is from.
function(zav_qt_source out_source out_revision out_version out_release)
    set(recorded ${ZAV_QT_PREFIX}/share/zav-notices)
    file(READ ${recorded}/debian-source source)
    string(STRIP "${source}" source)
    string(REGEX REPLACE "^qt6-base " "" revision "${source}")
    string(REGEX REPLACE "[+-].*" "" version "${revision}")
    file(READ ${recorded}/debian-release release)
    string(STRIP "${release}" release)
    set(${out_source} "${source}" PARENT_SCOPE)
    set(${out_revision} "${revision}" PARENT_SCOPE)
    set(${out_version} "${version}" PARENT_SCOPE)
    set(${out_release} "${release}" PARENT_SCOPE)
endfunction()

function(zav_write_notices output)
    set(recorded ${ZAV_QT_PREFIX}/share/zav-notices)
    zav_qt_source(source revision qt_version release)
    file(READ ${recorded}/options options)
    string(REPLACE "\n" "\n  " options "  ${options}")
    file(READ ${PROJECT_SOURCE_DIR}/LICENSE ours)

    zav_qt_parts(parts)
    set(notices "")
    foreach(part IN LISTS parts)
        zav_qt_part(${part} entry folder)
        zav_attribution_notice("${entry}" ${folder} notice)
        string(APPEND notices "\n------------------------------------------------------------\n"
               "${notice}")
    endforeach()

    set(gcc_copyright /usr/share/doc/gcc-mingw-w64-base/copyright)
    file(READ ${gcc_copyright} gcc_text)
    # From its title to its last sentence.
    set(last_words "requirements of the license of GCC.")
    string(FIND "${gcc_text}" "GCC RUNTIME LIBRARY EXCEPTION" start)
    string(FIND "${gcc_text}" "${last_words}" end)
    if(start EQUAL -1 OR end EQUAL -1)
        message(FATAL_ERROR "no GCC Runtime Library Exception in ${gcc_copyright}")
    endif()
    string(LENGTH "${last_words}" last_length)
    math(EXPR length "${end} + ${last_length} - ${start}")
    string(SUBSTRING "${gcc_text}" ${start} ${length} runtime_exception)

    set(mingw_copyright /usr/share/doc/mingw-w64-x86-64-dev/copyright)
    zav_debian_paragraph(${mingw_copyright} "Files: mingw-w64-libraries/winpthreads/*" threads)
    zav_debian_paragraph(${mingw_copyright}
                         "Files: mingw-w64-libraries/winpthreads/include/pthread.h" lockless)
    zav_debian_paragraph(${mingw_copyright}
                         "Files: mingw-w64-libraries/winpthreads/src/libgcc/dll_math.c" dll_math)
    zav_debian_paragraph(${mingw_copyright} "License: expat" expat)
    zav_debian_paragraph(${mingw_copyright} "License: BSD-3-clause" bsd)

    file(READ /usr/share/common-licenses/LGPL-3 lgpl)
    file(READ /usr/share/common-licenses/GPL-3 gpl)
    file(WRITE ${output} "ZAV UDP Test ${ZAV_VERSION_TEXT}
=======================

${ours}

What else zav-udp-test.exe holds
================================

zav-udp-test.exe is one program: ZAV UDP Test linked with the Qt ${qt_version} libraries (Core,
Gui, Widgets, the Windows platform plugin and the Windows styles), the third-party code compiled
into them, and the runtime libraries of the GNU C++ compiler (libstdc++, libgcc) and of
mingw-w64 (winpthreads). Their notices follow.

Qt ${qt_version}
------
Copyright (C) The Qt Company Ltd. and other contributors.
Licensed under the GNU Lesser General Public License version 3 (LGPL-3.0-only); its text, and
that of the GNU General Public License version 3 it builds on, are at the end of this file.

The source: the source package ${source} of ${release},
built unchanged. On ${release}, with deb-src entries in apt's sources, get it with
  apt-get source qt6-base=${revision}
or from Debian's snapshot archive, which keeps every version of qt6-base.
It was built by scripts/build-qt-windows in ZAV UDP Test's source, with these options:
${options}
Qt is linked into the program statically. The LGPL lets you run the program with a Qt of your
own instead: ZAV UDP Test's complete source and build scripts are published under the MIT
licence above, so build your Qt with the same options, set ZAV_QT_WINDOWS to it, and build
zav-udp-test.exe again with the windows-mingw preset.

Third-party code compiled into Qt
---------------------------------
Each part as Qt's source describes it (its qt_attribution.json), with its licence.
${notices}
GCC's runtime libraries (libstdc++, libgcc)
-------------------------------------------
Copyright (C) Free Software Foundation, Inc.
Licensed under the GNU General Public License version 3 with the GCC Runtime Library
Exception, version 3.1, which reads (as Debian ships it, ${gcc_copyright}):

${runtime_exception}

winpthreads, the threads library of mingw-w64
---------------------------------------------
As Debian ships it (${mingw_copyright}):

${threads}

${lockless}

${dll_math}

${expat}

${bsd}

GNU LESSER GENERAL PUBLIC LICENSE, version 3
============================================

${lgpl}

GNU GENERAL PUBLIC LICENSE, version 3
=====================================

${gpl}")
endfunction()
