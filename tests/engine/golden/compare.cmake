# Runs the probe over the requests and compares its answers line by line
# with the expected ones; prints the first differing line on failure.
execute_process(COMMAND ${PROBE}
    INPUT_FILE ${REQUESTS}
    OUTPUT_FILE ${OUTPUT}
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "probe exited with ${status}")
endif()
file(STRINGS ${EXPECTED} expected ENCODING UTF-8)
file(STRINGS ${OUTPUT} actual ENCODING UTF-8)
list(LENGTH expected expectedCount)
list(LENGTH actual actualCount)
if(NOT expectedCount EQUAL actualCount)
    message(FATAL_ERROR "expected ${expectedCount} answers, got ${actualCount} (see ${OUTPUT})")
endif()
math(EXPR last "${expectedCount} - 1")
foreach(i RANGE ${last})
    list(GET expected ${i} e)
    list(GET actual ${i} a)
    if(NOT e STREQUAL a)
        math(EXPR lineNo "${i} + 1")
        message(FATAL_ERROR "answer ${lineNo} differs\n expected: ${e}\n actual:   ${a}")
    endif()
endforeach()
message(STATUS "${expectedCount} answers match")
