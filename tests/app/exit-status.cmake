# Runs PROGRAM and fails unless it exits with the status EXPECTED.
execute_process(COMMAND ${PROGRAM} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL EXPECTED)
    message(FATAL_ERROR "exit status ${status}, expected ${EXPECTED}\n${out}\n${err}")
endif()
