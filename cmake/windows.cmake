# Windows builds (MinGW-w64, cross or native), after the targets exist: the virtual tester's DLL
# under the name the program looks for, and each program's version resource, icon and UTF-8
# manifest. What must come before the targets is in layout.cmake.
if(NOT WIN32)
  return()
endif()

# The virtual tester's DLL is looked for beside the program by its plain name.
if(TARGET qel_virtual_d2xx)
  set_target_properties(qel_virtual_d2xx PROPERTIES PREFIX "")
endif()

# qel_windows_resource(target description [icon])
function(qel_windows_resource target description)
  set(QEL_RC_NAME ${target})
  set(QEL_RC_DESCRIPTION ${description})
  set(QEL_RC_LEGAL "(c) QEL")
  set(QEL_RC_MANIFEST ${PROJECT_SOURCE_DIR}/packaging/windows/utf8.manifest)
  set(QEL_RC_ICON_LINE "")
  if(ARGC GREATER 2)
    set(QEL_RC_ICON_LINE "IDI_ICON1 ICON \"${ARGV2}\"")
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${CMAKE_BINARY_DIR}/${target}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_BINARY_DIR}/${target}.rc)
endfunction()

if(TARGET qel)
  qel_windows_resource(qel "QEL tester command-line tool" ${PROJECT_SOURCE_DIR}/packaging/icons/qeltest.ico)
endif()
if(TARGET qeltest)
  qel_windows_resource(qeltest "QEL in-circuit chip tester" ${PROJECT_SOURCE_DIR}/packaging/icons/qeltest.ico)
  set_target_properties(qeltest PROPERTIES WIN32_EXECUTABLE ON)
endif()
