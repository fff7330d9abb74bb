# What a cross-build takes from the build machine: the header-only libraries (seen through a
# folder of their own, never the build machine's /usr/include, whose C headers would shadow the
# target's) and GoogleTest built from Debian's sources for the target. Each is then found by the
# ordinary find_package through a small config file.
if(NOT CMAKE_CROSSCOMPILING)
  return()
endif()

set(qel_cross_dir ${CMAKE_BINARY_DIR}/cross-packages)
file(MAKE_DIRECTORY ${qel_cross_dir}/include)

# qel_cross_headers(Package target include-folder-name): the package's version check is its own.
function(qel_cross_headers package target folder)
  if(NOT EXISTS /usr/include/${folder})
    return()
  endif()
  file(CREATE_LINK /usr/include/${folder} ${qel_cross_dir}/include/${folder} SYMBOLIC)
  file(GLOB version_file /usr/share/cmake/${package}/${package}ConfigVersion.cmake
       /usr/lib/cmake/${package}/${package}ConfigVersion.cmake)
  if(version_file)
    list(GET version_file 0 version_file)
    file(COPY ${version_file} DESTINATION ${qel_cross_dir}/${package})
  endif()
  file(WRITE ${qel_cross_dir}/${package}/${package}Config.cmake
       "if(NOT TARGET ${target})\n"
       "  add_library(${target} INTERFACE IMPORTED)\n"
       "  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${qel_cross_dir}/include)\n"
       "endif()\n")
  set(${package}_DIR ${qel_cross_dir}/${package} CACHE PATH "" FORCE)
endfunction()

qel_cross_headers(nlohmann_json nlohmann_json::nlohmann_json nlohmann)
qel_cross_headers(CLI11 CLI11::CLI11 CLI)

if(QEL_TESTS AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
  file(WRITE ${qel_cross_dir}/GTest/GTestConfig.cmake "# GTest::gtest is built from source in this tree.\n")
  set(GTest_DIR ${qel_cross_dir}/GTest CACHE PATH "" FORCE)
endif()
