# corvane_test(NAME SOURCES src... [LIBS lib...])
# One GoogleTest executable, registered with ctest. In the Windows builds ctest
# runs it through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR).
function(corvane_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  # Pass only on GoogleTest's own verdict, so a program that dies before its
  # tests ran (or a runner that loses the exit code) never counts as passed.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ test"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()
