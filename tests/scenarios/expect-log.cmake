# Runs glidepad-sim on SCRIPT and checks that it exits 0, that its event log holds the text of
# every "# log: TEXT" line of the script, and that snapshot-out.svg holds that of every
# "# svg: TEXT" line.
execute_process(COMMAND ${SIM} ${SCRIPT} RESULT_VARIABLE status OUTPUT_VARIABLE log
                ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "expected exit status 0, got ${status}; stderr:\n${errors}")
endif()

# Fails unless TEXT holds the text of every "# PREFIX: TEXT" line of the script.
function(expect_lines prefix what text)
  file(STRINGS ${SCRIPT} lines REGEX "^# ${prefix}: ")
  foreach(line ${lines})
    string(REGEX REPLACE "^# ${prefix}: " "" wanted "${line}")
    string(FIND "${text}" "${wanted}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected ${what} to hold '${wanted}', got:\n${text}")
    endif()
  endforeach()
endfunction()

expect_lines(log "the log" "${log}")
file(STRINGS ${SCRIPT} drawn REGEX "^# svg: ")
if(drawn)
  file(READ snapshot-out.svg svg)
  expect_lines(svg "the snapshot" "${svg}")
endif()
