# Writes the qovctl man page: the template with qovctl's own --help text in it, gzipped.
#   cmake -DQOVCTL=... -DTEMPLATE=... -DOUTPUT=... -DVERSION=... -P man_page.cmake
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${QOVCTL} --help
    OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
    message(FATAL_ERROR "qovctl --help failed (${status})")
endif()
# roff: a backslash is \e, a minus is \-, and a line may not start with a control character.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(REGEX REPLACE "\n$" "" help "${help}")
file(READ ${TEMPLATE} page)
string(REPLACE "@HELP@" "${help}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
execute_process(COMMAND gzip -9nf ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${OUTPUT} failed")
endif()
