# Runs glidepad-sim on SCRIPT and checks that it exits 0 and that its event log holds the text of
# every "# log: TEXT" line of the script.
file(STRINGS ${SCRIPT} expected REGEX "^# log: ")
execute_process(COMMAND ${SIM} ${SCRIPT} RESULT_VARIABLE status OUTPUT_VARIABLE log
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "expected exit status 0, got ${status}; stderr:\n${errors}")
endif()
foreach(line ${expected})
  string(REGEX REPLACE "^# log: " "" text "${line}")
  string(FIND "${log}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected the log to hold '${text}', got:\n${log}")
  endif()
endforeach()
