# Runs the command given after this script's name; passes when it exits with EXPECT_EXIT and
# its output (stdout and stderr) contains EXPECT_OUTPUT. A crash or a sanitizer's report (also
# exit status 1) does not pass:
#   cmake -DEXPECT_EXIT=1 "-DEXPECT_OUTPUT=text" -P ExpectExit.cmake program args...
set(command "")
set(take FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(take)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif("${CMAKE_ARGV${i}}" MATCHES "ExpectExit\\.cmake$")
    set(take TRUE)
  endif()
endforeach()
execute_process(COMMAND ${command} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(NOT "${rc}" STREQUAL "${EXPECT_EXIT}")
  message(FATAL_ERROR "exit status ${rc}, expected ${EXPECT_EXIT}:\n${all}")
endif()
string(FIND "${all}" "${EXPECT_OUTPUT}" at)
if(at EQUAL -1 OR all MATCHES "Sanitizer|runtime error")
  message(FATAL_ERROR "expected \"${EXPECT_OUTPUT}\" in:\n${all}")
endif()
