# GoogleTest from Debian's source package, built with the project's compiler
# (natively, or cross-compiled for Windows).
set(KESTRIVANE_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${KESTRIVANE_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)

if(CMAKE_CROSSCOMPILING AND WIN32)
  # Tests run under Wine in a private prefix inside the build folder. Wine's
  # errors stay on: CTest shows a test's output only when it fails, and then it
  # should say why Wine could not start or run the program.
  set(KESTRIVANE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
  set(CMAKE_CROSSCOMPILING_EMULATOR
      env WINEPREFIX=${KESTRIVANE_WINEPREFIX} WINEDEBUG=err+all,fixme-all wine)
endif()

# Off where the build's programs cannot run, such as 32-bit Windows programs on
# a machine without 32-bit support: the test programs are still built, but CTest
# does not run them to list their cases, which would fail before any test ran.
option(KESTRIVANE_LIST_TESTS "List the cases of each test program by running it" ON)

# A GoogleTest executable whose cases CTest lists one by one. Discovery runs at
# test time, inside the test runner's display and Wine session, not at build time.
function(kestrivane_add_gtest target)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  kestrivane_target_defaults(${target})
  target_link_libraries(${target} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gtest_main)
  if(NOT KESTRIVANE_LIST_TESTS)
    return()
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES TIMEOUT 120)
endfunction()
