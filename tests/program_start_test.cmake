# How the program starts outside a desktop: run as
#   cmake -DPROGRAM=<zav-udp-test> -P program_start_test.cmake
# A program that must run until it is stopped is stopped by `timeout`, which ends it whatever
# CMake does on a time-out of its own (3.31's leaves the program running).

# Without any display: one line and status 1, not an abort.
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
unset(ENV{QT_QPA_PLATFORM})
execute_process(COMMAND ${PROGRAM}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
if(NOT status STREQUAL "1" OR NOT out STREQUAL ""
   OR NOT err STREQUAL "zav-udp-test: no display could be opened\n")
    message(FATAL_ERROR "without a display: status '${status}', output '${out}', errors '${err}'")
endif()

# The toolkit's own options are not read: asked for a platform that does not exist, the program
# still starts on the one its environment names, and runs until it is stopped. Once started, the
# toolkit's own messages reach the terminal again (the font database, read after start-up, says
# what it loads when asked to).
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{QT_LOGGING_RULES} qt.text.font.db.debug=true)
execute_process(COMMAND timeout --kill-after=5 3 ${PROGRAM} -platform none-such -qwindowtitle other
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 30)
# 124: still running when it was stopped.
if(NOT status STREQUAL "124")
    message(FATAL_ERROR "with toolkit options: status '${status}', errors '${err}'")
endif()
if(NOT err MATCHES "qt\\.text\\.font\\.db: ")
    message(FATAL_ERROR "the toolkit's messages after start-up were swallowed: '${err}'")
endif()
