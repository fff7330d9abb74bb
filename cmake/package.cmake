# Packages through CPack: on Linux two .deb files, qel (the tool, the virtual tester, the udev rule,
# the examples) and qeltest (the desktop program), with their dependencies worked out from the
# binaries; on Windows a ZIP of the installed folder.
if(NOT TARGET qel)
  return()
endif()

set(CPACK_PACKAGE_NAME qel)
set(CPACK_PACKAGE_VENDOR "QEL")
set(CPACK_PACKAGE_CONTACT "QEL <support@qel.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "QEL in-circuit tester for digital chips")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL cli)
if(TARGET qeltest)
  list(APPEND CPACK_COMPONENTS_ALL gui)
endif()
set(CPACK_COMPONENT_CLI_DESCRIPTION
    "Command-line tool and virtual tester of the QEL in-circuit chip tester\n"
    "qel checks, dumps and shows test description files, expands memory-test templates and runs\n"
    "tests on the tester, through the vendor's D2XX library or libftdi, or on the virtual tester\n"
    "with its models of chips on a board and injectable faults.")
set(CPACK_COMPONENT_GUI_DESCRIPTION
    "Desktop program of the QEL in-circuit chip tester\n"
    "qeltest checks the clip's contact, runs a chip's test and shows the expected and the measured\n"
    "levels as a timing diagram, a table and a drawing of the package.")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
  set(CPACK_PACKAGE_FILE_NAME "qel-${PROJECT_VERSION}-windows-${CMAKE_SYSTEM_PROCESSOR}")
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
  set(CPACK_DEBIAN_CLI_PACKAGE_NAME qel)
  # Bound at run time, so not found by the dependency scan; without it only d2xx and virtual work.
  set(CPACK_DEBIAN_CLI_PACKAGE_RECOMMENDS "libftdi1-2")
  set(CPACK_DEBIAN_GUI_PACKAGE_NAME qeltest)
  set(CPACK_DEBIAN_GUI_PACKAGE_DEPENDS "qel (= ${PROJECT_VERSION})")
  set(CPACK_DEBIAN_GUI_PACKAGE_SECTION electronics)
endif()
include(CPack)
