# cmake -DSTATUS=N -DCOMMAND="program;arg;..." -P expect_status.cmake
# Passes when the command exits with exactly that status: a crash or a usage error is no pass.
execute_process(COMMAND ${COMMAND} RESULT_VARIABLE status)
if(NOT status STREQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}")
endif()
