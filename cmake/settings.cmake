# What every target is built with: the language, where programs land, the include root, the
# options, and the warnings; and the version in the forms the packaging and Windows want.

# Windows wants four numbers ("1.0.0.1"); the copyright line is the licence's.
set(ZAV_VERSION_NUMBERS
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.${PROJECT_VERSION_PATCH}")
file(STRINGS LICENSE ZAV_COPYRIGHT REGEX "^Copyright" LIMIT_COUNT 1)

set(CMAKE_CXX_STANDARD 20)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The version, for the scripts that check or name what was built.
file(WRITE ${PROJECT_BINARY_DIR}/version ${ZAV_VERSION_TEXT})
# A Windows build runs its tests and build tools under wine, in a wine prefix of its own.
if(CMAKE_CROSSCOMPILING AND WIN32)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PROJECT_SOURCE_DIR}/scripts/wine-run
                                      ${PROJECT_BINARY_DIR}/wineprefix)
endif()
# Every header is named by its folder, "endpoint/datagram_endpoint.h". A library's own sources
# reach all of its folder; the targets that link it reach only the headers it makes public, so
# a folder includes another's headers only through what it links. Each gets an include root of
# its own in the build folder, holding links to those headers.
function(zav_public_headers target)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(public ${PROJECT_BINARY_DIR}/headers/${target})
    set(own ${PROJECT_BINARY_DIR}/headers/${target}-own)
    file(REMOVE_RECURSE ${public} ${own})
    file(MAKE_DIRECTORY ${public}/${folder} ${own})
    foreach(header IN LISTS ARGN)
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${header} ${public}/${folder}/${header}
             SYMBOLIC)
    endforeach()
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${own}/${folder} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${public} PRIVATE ${own})
endfunction()

option(ZAV_BUILD_WINDOW "Build the window and the program (needs Qt 6 Widgets)" ON)
option(ZAV_WARNINGS_AS_ERRORS "Treat compiler warnings as errors" OFF)
option(ZAV_BUILD_FUZZERS "Build the libFuzzer targets (needs clang)" OFF)
option(ZAV_BUILD_BENCHES "Build the benchmarks (needs Google Benchmark, Xlib and XTest)" OFF)
include(CTest)

if(MINGW)
    # Self-contained programs: the compiler's runtime (libstdc++, libgcc, winpthreads) is linked
    # into each, as the static Qt is. The linker stamps no time of its own into the header, so
    # that one source gives one program; stripping it stamps SOURCE_DATE_EPOCH there.
    add_link_options(-static -Wl,--no-insert-timestamp)
endif()

add_library(zav_warnings INTERFACE)
if(MSVC)
    target_compile_options(zav_warnings INTERFACE /W4 $<$<BOOL:${ZAV_WARNINGS_AS_ERRORS}>:/WX>)
else()
    target_compile_options(zav_warnings INTERFACE -Wall -Wextra -Wpedantic
                           $<$<BOOL:${ZAV_WARNINGS_AS_ERRORS}>:-Werror>
                           # GCC 12 reports std::string concatenation at -O3 as overlapping copies.
                           $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)
endif()

