# vx_sources(<var> <subfolders...>): every .cpp and .c of the calling folder and of the named
# subfolders (a library's own layers; a subfolder with a CMakeLists.txt of its own is another library).
# The standard headers most files include, parsed once per target into a precompiled header
# (C++ files only): parsing them again in every file was a large part of a clean build.
set(VX_PCH_HEADERS <algorithm> <atomic> <chrono> <cmath> <cstring> <functional> <map> <memory>
    <mutex> <string> <thread> <vector>)
function(vx_precompile name)
  set(headers)
  foreach(h ${VX_PCH_HEADERS} ${ARGN})
    list(APPEND headers "$<$<COMPILE_LANGUAGE:CXX>:${h}>")
  endforeach()
  target_precompile_headers(${name} PRIVATE ${headers})
endfunction()

function(vx_sources var)
  set(patterns ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(dir ${ARGN})
    list(APPEND patterns ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.c)
  endforeach()
  file(GLOB found CONFIGURE_DEPENDS ${patterns})
  set(${var} ${found} PARENT_SCOPE)
endfunction()

# vx_library(<name> [SUBDIRS <folders...>] [DEPS <targets...>] [PKG <pkg-config modules...>]
#            [EXCLUDE <files...>])
# Builds every .cpp of the calling folder and of its SUBDIRS into a static library; a folder
# without sources yet gives an interface library, so dependents can name it already.
function(vx_library name)
  cmake_parse_arguments(VX "" "" "SUBDIRS;DEPS;PKG;EXCLUDE" ${ARGN})
  vx_sources(sources ${VX_SUBDIRS})
  foreach(ex ${VX_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
    vx_precompile(${name})
    set(scope PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${name} ${scope} ${PROJECT_SOURCE_DIR})
  if(VX_DEPS)
    target_link_libraries(${name} ${scope} ${VX_DEPS})
  endif()
  if(VX_PKG)
    pkg_check_modules(${name}_pkg REQUIRED IMPORTED_TARGET ${VX_PKG})
    target_link_libraries(${name} ${scope} PkgConfig::${name}_pkg)
  endif()
endfunction()

# vx_test(<name> [NO_MAIN] [SUBDIRS <folders...>] [DEPS <targets...>] [PKG <modules...>])
# One GoogleTest binary from every .cpp of the calling folder and its SUBDIRS; each test runs as
# its own CTest case in its own working folder, so `ctest -j` never shares paths between tests.
function(vx_test name)
  cmake_parse_arguments(VX "NO_MAIN" "" "SUBDIRS;DEPS;PKG" ${ARGN})
  vx_sources(sources ${VX_SUBDIRS})
  list(FILTER sources INCLUDE REGEX "\\.cpp$")
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${VX_DEPS} vx_test_support GTest::gtest GTest::gmock)
  # Test code is compiled without optimisation: the code under test keeps its own flags, and the
  # test files' assertion macros cost twice the time to optimise as to parse.
  target_compile_options(${name} PRIVATE -O0)
  vx_precompile(${name} <gtest/gtest.h> <filesystem> <fstream>)
  # A test binary starts once for every test case: linked at a fixed address it has no million
  # relocations to apply at each start.
  target_link_options(${name} PRIVATE -no-pie)
  if(NOT VX_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(VX_PKG)
    pkg_check_modules(${name}_pkg REQUIRED IMPORTED_TARGET ${VX_PKG})
    target_link_libraries(${name} PRIVATE PkgConfig::${name}_pkg)
  endif()
  # The tests' environment goes in through `env` as the test launcher: a list handed to
  # gtest_discover_tests as the ENVIRONMENT property is flattened on the way, and only its first
  # variable would reach the tests.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "/usr/bin/env;ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/support/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1;VX_HEADLESS=1;VX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES
      TIMEOUT 600)
endfunction()
