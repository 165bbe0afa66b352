# Test support: GoogleTest built with the cross compiler, and every test run
# through Wine on a display and prefix that the "wine" fixture brings up once
# per ctest run (scripts/wine-harness.sh) and takes down at the end.
set(GTEST_SRC /usr/src/googletest)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SRC} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
include(GoogleTest)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
  set(WINE_ARCH win64)
else()
  set(WINE_ARCH win32)
endif()
add_test(NAME wine_up COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-harness.sh up ${CMAKE_BINARY_DIR} ${WINE_ARCH})
add_test(NAME wine_down COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-harness.sh down ${CMAKE_BINARY_DIR})
set_tests_properties(wine_up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
set_tests_properties(wine_down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# tapestra_test(NAME SOURCES file... [LIBS lib...] [TIMEOUT s])
# A GoogleTest program whose cases run under Wine inside the shared test prefix.
function(tapestra_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # A console program: gtest prints to the terminal ctest reads.
  # One CTest entry per case, named PROGRAM.Suite.Case. The cases are listed
  # when ctest starts, before the "wine" fixture is up: scripts/wine-exec.sh
  # lists them in a prefix of its own (the first listing creates it, about
  # 10 s). The timeout is per case.
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    NO_PRETTY_VALUES
    PROPERTIES FIXTURES_REQUIRED wine RESOURCE_LOCK wineprefix TIMEOUT ${T_TIMEOUT}
               ENVIRONMENT "TAPESTRA_BUILD=${CMAKE_BINARY_DIR}")
endfunction()
