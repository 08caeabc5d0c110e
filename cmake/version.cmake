# The version as the platform shows it ("1.00.0001") and the day it was released: the one place
# for both. The numeric form is read from the text; the packaging takes both from here.
set(ZAV_VERSION_TEXT "1.00.0001")
set(ZAV_RELEASE_DATE "2026-12-08")
# Only the Windows upgrade check builds another version, to install the current one over it.
set(ZAV_OTHER_VERSION "" CACHE STRING "Build as this version instead (for the upgrade check)")
if(ZAV_OTHER_VERSION)
    set(ZAV_VERSION_TEXT ${ZAV_OTHER_VERSION})
endif()
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)\\.([0-9]+)$" ZAV_VERSION_PARTS "${ZAV_VERSION_TEXT}")
math(EXPR ZAV_VERSION_MINOR "${CMAKE_MATCH_2}")
math(EXPR ZAV_VERSION_PATCH "${CMAKE_MATCH_3}")
set(ZAV_PROJECT_VERSION ${CMAKE_MATCH_1}.${ZAV_VERSION_MINOR}.${ZAV_VERSION_PATCH})
