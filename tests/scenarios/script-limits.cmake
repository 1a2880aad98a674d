# The script's own limits, each met exactly (the script parses on to a last line that is refused,
# so that nothing runs) and passed by one: lines, bytes, open players, the clock.
function(expect_refused_file name text)
  set(script ${CMAKE_CURRENT_BINARY_DIR}/limits-${name}.session)
  execute_process(COMMAND ${SIM} --quiet ${script} RESULT_VARIABLE status ERROR_VARIABLE errors)
  string(FIND "${errors}" "limits-${name}.session:${text}" at)
  if(NOT status EQUAL 2 OR at EQUAL -1)
    message(FATAL_ERROR "${name}: expected status 2 and '${text}', got ${status}: ${errors}")
  endif()
  file(REMOVE ${script})
endfunction()

function(expect_refusal name body text)
  file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/limits-${name}.session "${body}")
  expect_refused_file(${name} "${text}")
endfunction()

string(REPEAT "\n" 99999 lines)
expect_refusal(lines-at "${lines}?" "100000: expected a command")
expect_refusal(lines-past "${lines}\n\n" "100001: expected a script of at most 100000 lines")
# One byte too many, as a sparse file: the size is refused before any of it is parsed.
execute_process(COMMAND truncate -s 16777217 ${CMAKE_CURRENT_BINARY_DIR}/limits-bytes-past.session)
expect_refused_file(bytes-past "1: expected a script of at most 16777216 bytes")

string(REPEAT "open\n" 1000 opens)
expect_refusal(players-at "launch\n${opens}close 1\nopen\n?" "1004: expected a command")
expect_refusal(players-past "launch\n${opens}open\n"
               "1002: expected at most 1000 open players; close one first")

string(REPEAT "wait 1000000000\n" 1000 waits)  # the clock's limit, exactly
set(passed "expected the clock to stay within 1000000000000 ms, but this command passes it")
expect_refusal(clock-at "${waits}?" "1001: expected a command")
expect_refusal(clock-past "${waits}wait 0.001\n" "1001: ${passed}")
expect_refusal(clock-touch "${waits}launch\nopen\ntap +\n" "1003: ${passed}")
