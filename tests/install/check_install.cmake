# Installs the command-line component into PREFIX and runs the installed qel as a user would.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} --component cli
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

set(qel ${PREFIX}/bin/qel)
file(GLOB plugin ${PREFIX}/lib*/qel/libqel_virtual_d2xx.so ${PREFIX}/lib/*/qel/libqel_virtual_d2xx.so)
foreach(f ${qel} ${PREFIX}/lib/udev/rules.d/60-qel-tester.rules ${PREFIX}/share/doc/qel/examples/nand7400.qel
        ${PREFIX}/share/bash-completion/completions/qel)
  if(NOT EXISTS ${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
if(NOT plugin)
  message(FATAL_ERROR "the virtual tester's library is not installed under ${PREFIX}")
endif()

# The run path is relative to the program and names nothing of the build tree.
execute_process(COMMAND readelf -d ${qel} OUTPUT_VARIABLE dynamic)
string(REGEX MATCH "R(UN)?PATH[^\n]*" runpath "${dynamic}")
if(NOT runpath MATCHES "\\$ORIGIN/" OR runpath MATCHES "${BUILD_DIR}")
  message(FATAL_ERROR "installed qel's run path: ${runpath}")
endif()

# qel_run(expected-status args...)
function(qel_run expected)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=QEL_VIRTUAL_LIBRARY --unset=LD_LIBRARY_PATH
                          --unset=QEL_TESTER ${qel} ${ARGN}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL expected)
    message(FATAL_ERROR "qel ${ARGN}: status ${status}, expected ${expected}\n${out}\n${err}")
  endif()
  set(last_out "${out}" PARENT_SCOPE)
endfunction()

qel_run(0 --version)
qel_run(0 check ${PREFIX}/share/doc/qel/examples/nand7400.qel)
qel_run(0 probe --tester virtual --chip 7400)
if(NOT last_out MATCHES "Открываем порт...OK")
  message(FATAL_ERROR "the installed qel did not reach the virtual tester:\n${last_out}")
endif()
message(STATUS "installed qel runs from ${PREFIX}")
