# The runner under Wine, in the Windows build (added from the root
# CMakeLists.txt; tests/CMakeLists.txt adds this folder to the native build).

# A second runner with the fake checks' table, the fake checks, and the
# run-checks.cmd that ships, with its Windows line ends, in one folder.
set(kit_fixture_dir ${CMAKE_BINARY_DIR}/bin/kit-fixture)
add_executable(kit_fixture_runner ${PROJECT_SOURCE_DIR}/tools/check_runner.cpp fixture_checks_table.cpp)
set_target_properties(kit_fixture_runner PROPERTIES OUTPUT_NAME orvel_checks RUNTIME_OUTPUT_DIRECTORY ${kit_fixture_dir})
target_include_directories(kit_fixture_runner PRIVATE ${PROJECT_SOURCE_DIR}/tests/windows)
target_link_options(kit_fixture_runner PRIVATE -municode)
target_link_libraries(kit_fixture_runner PRIVATE checks_core windows_test_support)

set(kit_fakes)
foreach(ending PASS FAIL CRASH HANG)
  string(TOLOWER ${ending} name)
  add_executable(kit_fake_${name} fake_check.cpp)
  set_target_properties(kit_fake_${name} PROPERTIES OUTPUT_NAME fake_${name} RUNTIME_OUTPUT_DIRECTORY ${kit_fixture_dir})
  target_compile_definitions(kit_fake_${name} PRIVATE FAKE_CHECK_${ending})
  target_include_directories(kit_fake_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/windows)
  target_link_libraries(kit_fake_${name} PRIVATE gtest windows_test_support)
  list(APPEND kit_fakes kit_fake_${name})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/packaging/run-checks.cmd ${kit_fixture_dir}/run-checks.cmd @ONLY NEWLINE_STYLE CRLF)

orvel_windows_test(kit_runner_test
  SOURCES runner_fixture_test.cpp
  LIBRARIES windows_test_support shell32
  LABELS windows
  DEPENDS kit_fixture_runner ${kit_fakes})
# Wine needs a UTF-8 locale for the test's non-ASCII folder name.
set_tests_properties(kit_runner_test PROPERTIES ENVIRONMENT LC_ALL=C.UTF-8)

# The whole release package under Wine: made from this build, unpacked into
# a folder named with a space and a non-ASCII character, run-checks.cmd run
# there. It runs every check program a second time.
add_test(NAME release_kit_e2e
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/kit_e2e.sh ${CMAKE_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/e2e)
set_tests_properties(release_kit_e2e PROPERTIES LABELS e2e RUN_SERIAL TRUE TIMEOUT 2400)
