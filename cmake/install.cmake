# What `cmake --install` puts where. Linux: the usual tree under the prefix, the virtual tester's
# library in a folder of its own that the programs find through a run path relative to
# themselves, so an install works wherever it is put and with the build tree gone. Windows: the
# programs, the DLL beside them, and Qt's own files through its deployment script.
if(NOT TARGET qel)
  return()
endif()

if(WIN32)
  set(QEL_PLUGIN_DIR ${CMAKE_INSTALL_BINDIR})
else()
  set(QEL_PLUGIN_DIR ${CMAKE_INSTALL_LIBDIR}/qel)
endif()
file(RELATIVE_PATH qel_bin_to_plugins /${CMAKE_INSTALL_BINDIR} /${QEL_PLUGIN_DIR})

# The command-line tool, the virtual tester, their documentation and the examples.
install(TARGETS qel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(TARGETS qel_virtual_d2xx
        LIBRARY DESTINATION ${QEL_PLUGIN_DIR} COMPONENT cli
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT cli)
install(FILES README.md docs/virtual-tester.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT cli)
install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples COMPONENT cli PATTERN "broken" EXCLUDE)

if(NOT WIN32)
  set_target_properties(qel PROPERTIES INSTALL_RPATH "$ORIGIN/${qel_bin_to_plugins}")
  install(FILES packaging/linux/60-qel-tester.rules DESTINATION lib/udev/rules.d COMPONENT cli)

  # The manual page from qel's own help, and the bash completion from its own parser, so that
  # neither falls behind a new command. Both need qel to run here, so not in a cross-build.
  if(NOT CMAKE_CROSSCOMPILING)
    find_program(QEL_HELP2MAN help2man)
    set(qel_generated ${CMAKE_BINARY_DIR}/generated)
    add_custom_command(OUTPUT ${qel_generated}/qel.bash
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${qel_generated}
                       COMMAND qel --bash-completion > ${qel_generated}/qel.bash
                       DEPENDS qel VERBATIM)
    set(qel_generated_files ${qel_generated}/qel.bash)
    install(FILES ${qel_generated}/qel.bash RENAME qel DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
            COMPONENT cli)
    if(QEL_HELP2MAN)
      add_custom_command(OUTPUT ${qel_generated}/qel.1
                         COMMAND ${CMAKE_COMMAND} -E make_directory ${qel_generated}
                         COMMAND ${QEL_HELP2MAN} --no-info --no-discard-stderr --help-option=--help-all
                                 --name "command-line tool of the QEL in-circuit chip tester"
                                 --include ${PROJECT_SOURCE_DIR}/packaging/man/qel.h2m
                                 --output ${qel_generated}/qel.1 $<TARGET_FILE:qel>
                         DEPENDS qel ${PROJECT_SOURCE_DIR}/packaging/man/qel.h2m VERBATIM)
      list(APPEND qel_generated_files ${qel_generated}/qel.1)
      install(FILES ${qel_generated}/qel.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
    else()
      message(STATUS "help2man not found: qel's manual page is not made")
    endif()
    add_custom_target(qel_generated_docs ALL DEPENDS ${qel_generated_files})
  endif()
endif()

# The desktop program with its desktop entry, icon, manual page and user guide.
if(TARGET qeltest)
  install(TARGETS qeltest RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT gui)
  install(FILES docs/user-guide.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qeltest COMPONENT gui)
  install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qeltest COMPONENT gui FILES_MATCHING
          PATTERN "*.png")
  # The HTML guide the help commands open (../share/doc/qeltest from the program).
  if(TARGET qeltest_guide)
    install(FILES $<TARGET_FILE_DIR:qeltest>/doc/user-guide.html DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/qeltest
            COMPONENT gui)
  endif()
  if(WIN32)
    # windeployqt, through Qt's own script, copies the Qt libraries and plugins beside qeltest.exe.
    if(COMMAND qt_generate_deploy_app_script AND Qt6_VERSION VERSION_GREATER_EQUAL 6.5)
      qt_generate_deploy_app_script(TARGET qeltest OUTPUT_SCRIPT qel_deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
      install(SCRIPT ${qel_deploy_script} COMPONENT gui)
    elseif(COMMAND qt_generate_deploy_app_script)
      qt_generate_deploy_app_script(TARGET qeltest FILENAME_VARIABLE qel_deploy_script NO_UNSUPPORTED_PLATFORM_ERROR)
      install(SCRIPT ${qel_deploy_script} COMPONENT gui)
    endif()
  else()
    set_target_properties(qeltest PROPERTIES INSTALL_RPATH "$ORIGIN/${qel_bin_to_plugins}")
    install(FILES packaging/linux/qeltest.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT gui)
    install(FILES packaging/icons/qeltest.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
            COMPONENT gui)
    install(FILES packaging/icons/qeltest-256.png RENAME qeltest.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps COMPONENT gui)
    install(FILES packaging/man/qeltest.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT gui)
  endif()
endif()
