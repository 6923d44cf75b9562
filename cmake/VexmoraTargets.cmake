# vx_library(<name> [DEPS <targets...>] [PKG <pkg-config modules...>] [EXCLUDE <files...>])
# Builds every .cpp of the calling folder into a static library; a folder without
# sources yet gives an interface library, so dependents can name it already.
function(vx_library name)
  cmake_parse_arguments(VX "" "" "DEPS;PKG;EXCLUDE" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(ex ${VX_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${ex})
  endforeach()
  if(sources)
    add_library(${name} STATIC ${sources})
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

# vx_test(<name> [NO_MAIN] [DEPS <targets...>] [PKG <modules...>])
# One GoogleTest binary from every .cpp of the calling folder; each test runs as its own
# CTest case in its own working folder, so `ctest -j` never shares paths between tests.
function(vx_test name)
  cmake_parse_arguments(VX "NO_MAIN" "" "DEPS;PKG" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${VX_DEPS} vx_test_support GTest::gtest GTest::gmock)
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
