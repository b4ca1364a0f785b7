# Builds the programs for Windows beside this build (in windows/) and runs the
# reader's unit tests and the end-to-end suite on the .exe files under Wine.
#
# RIP_WINDOWS_TESTS: ON requires MinGW-w64 and Wine; AUTO uses them where they
# are installed, and requires them where the environment sets CI.
set(RIP_WINDOWS_TESTS AUTO CACHE STRING "Build for Windows and test under Wine: ON, OFF or AUTO")
set_property(CACHE RIP_WINDOWS_TESTS PROPERTY STRINGS ON OFF AUTO)

find_program(RIP_MINGW_CXX x86_64-w64-mingw32-g++-posix)
find_program(RIP_WINE NAMES wine64 wine PATHS /usr/lib/wine)
find_program(RIP_WINESERVER NAMES wineserver PATHS /usr/lib/wine)

if(RIP_WINDOWS_TESTS STREQUAL "AUTO" AND NOT DEFINED ENV{CI})
  if(NOT RIP_MINGW_CXX OR NOT RIP_WINE OR NOT RIP_WINESERVER)
    message(STATUS "Windows build and tests: off (no x86_64-w64-mingw32-g++-posix or wine64)")
    return()
  endif()
elseif(NOT RIP_WINDOWS_TESTS)
  return()
endif()
if(NOT RIP_MINGW_CXX OR NOT RIP_WINE OR NOT RIP_WINESERVER)
  message(FATAL_ERROR "The Windows build and tests need g++-mingw-w64-x86-64-posix and wine64")
endif()

include(ExternalProject)
set(windows_dir ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(windows_build
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${windows_dir}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake
    -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    -DRIP_WARNINGS_AS_ERRORS=${RIP_WARNINGS_AS_ERRORS}
    -DGOOGLETEST_SOURCE_DIR=${GOOGLETEST_SOURCE_DIR}
  BUILD_ALWAYS ON
  INSTALL_COMMAND "")

# A private Wine prefix, and one persistent wineserver for the whole run so
# that each program starts in well under a second. Wine's background
# processes outlive the setup test: they must not hold its output open, or
# CTest would wait for them.
set(wine_env WINEPREFIX=${windows_dir}/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=)
add_test(NAME windows.start_wine
  COMMAND ${CMAKE_COMMAND} -E env ${wine_env}
    sh -c "mkdir -p '${windows_dir}/wineprefix' && { '${RIP_WINESERVER}' -p && '${RIP_WINE}' wineboot --init; } >'${windows_dir}/wine-start.log' 2>&1 </dev/null")
add_test(NAME windows.stop_wine
  COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${RIP_WINESERVER} -k)
set_tests_properties(windows.start_wine PROPERTIES FIXTURES_SETUP wine)
set_tests_properties(windows.stop_wine PROPERTIES FIXTURES_CLEANUP wine)

add_test(NAME windows.diskimage_tests
  COMMAND ${CMAKE_COMMAND} -E env ${wine_env} ${RIP_WINE} ${windows_dir}/tests/diskimage_tests.exe)
set_tests_properties(windows.diskimage_tests PROPERTIES FIXTURES_REQUIRED wine)

# The same end-to-end tests, built to start the .exe files under Wine.
add_executable(windows_tools_tests ${RIP_TOOLS_TEST_SOURCES})
target_link_libraries(windows_tools_tests PRIVATE test_support GTest::gtest_main)
target_compile_definitions(windows_tools_tests PRIVATE
  RIP_TOOLS_DIR="${windows_dir}" RIP_TOOLS_SUFFIX=".exe" RIP_TOOLS_EMULATOR="${RIP_WINE}"
  RIP_WINEPREFIX="${windows_dir}/wineprefix")
add_dependencies(windows_tools_tests windows_build)
rip_warnings(windows_tools_tests)
gtest_discover_tests(windows_tools_tests
  DISCOVERY_MODE PRE_TEST
  TEST_PREFIX windows.
  PROPERTIES FIXTURES_REQUIRED wine)
