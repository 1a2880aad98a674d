# Runs glidepad-sim and checks its exit status and a text on standard error.
# With SCRIPT: the status and text come from the script's "# exit: N" and "# stderr: TEXT" lines.
if(SCRIPT)
  file(STRINGS ${SCRIPT} header LIMIT_COUNT 2)
  list(GET header 0 exitLine)
  list(GET header 1 textLine)
  string(REGEX REPLACE "^# exit: *" "" EXIT "${exitLine}")
  string(REGEX REPLACE "^# stderr: *" "" TEXT "${textLine}")
  set(ARGS --quiet ${SCRIPT})
endif()
execute_process(COMMAND ${SIM} ${ARGS} RESULT_VARIABLE status ERROR_VARIABLE errors
                OUTPUT_QUIET)
if(NOT status STREQUAL "${EXIT}")
  message(FATAL_ERROR "expected exit status ${EXIT}, got ${status}; stderr:\n${errors}")
endif()
string(FIND "${errors}" "${TEXT}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "expected stderr to contain '${TEXT}', got:\n${errors}")
endif()
