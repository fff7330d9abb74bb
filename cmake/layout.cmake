# Where the build puts what it makes, so that each program finds the virtual tester's library
# the way an installed one does: beside itself on Windows, through its run path elsewhere.
include(GNUInstallDirs)
if(WIN32)
  # Windows looks for a DLL in the program's own folder first.
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  # The C++ and threads runtimes linked in, so the programs and DLLs need nothing but Windows.
  add_link_options(-static)
  # The vendor's 32-bit DLL exports its __stdcall names undecorated; so do ours.
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    string(APPEND CMAKE_SHARED_LINKER_FLAGS " -Wl,--kill-at")
  endif()
else()
  # In the build tree the loader finds the library where it was built; an install rewrites this
  # to a path relative to the program (cmake/install.cmake).
  set(CMAKE_BUILD_RPATH "$<TARGET_FILE_DIR:qel_virtual_d2xx>")
endif()
