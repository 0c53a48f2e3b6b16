# corvane_test(NAME SOURCES src... [LIBS lib...] [PROGRAM_ONLY])
# One GoogleTest executable, registered with ctest unless PROGRAM_ONLY. In the
# Windows builds ctest runs it through the Wine wrapper
# (CMAKE_CROSSCOMPILING_EMULATOR).
function(corvane_test name)
  cmake_parse_arguments(T "PROGRAM_ONLY" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Test bodies are long tables that -O2 and full debug info make slow to
  # compile and no faster to run; the code they test keeps its own options.
  target_compile_options(${name} PRIVATE -O1 -g1)
  if(NOT T_PROGRAM_ONLY)
    corvane_add_test(${name} ${name})
  endif()
endfunction()

# corvane_add_test(TEST PROGRAM [gtest args...]): registers a run of a
# GoogleTest program. It passes only on GoogleTest's own verdict, so a program
# that dies before its tests ran (or a runner that loses the exit code) never
# counts as passed.
function(corvane_add_test test program)
  add_test(NAME ${test} COMMAND ${program} --gtest_color=no ${ARGN})
  set_tests_properties(${test} PROPERTIES TIMEOUT 300
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ test"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# corvane_ui_test(NAME SOURCES src... [LIBS lib...] [CASES case...])
# A Windows test that drives real windows with the UI kit. It needs a screen of
# its own: other test programs' windows on the same display would cover the
# kit's desktop, and a picture copied from the screen would show them. ctest
# hands it one of the desktops that tools/test starts (a Wine session with its
# own display each), so UI tests run side by side; without them the Wine
# wrapper runs it alone. A program with long cases names them in CASES: each
# runs as a test of its own, on a desktop of its own, and one more test runs
# whatever cases the list does not name.
function(corvane_ui_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;CASES" ${ARGN})
  if(NOT T_CASES)
    corvane_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} ui_kit)
    set(tests ${name})
  else()
    # One run per case, and one for the cases not named (it passes with none
    # left: GoogleTest says "0 tests").
    corvane_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} ui_kit PROGRAM_ONLY)
    string(REPLACE ";" ":" named "${T_CASES}")
    set(tests)
    foreach(case ${T_CASES} "-${named}")
      if(case MATCHES "^-")
        set(test ${name}.Others)
      else()
        string(REGEX REPLACE "^.*\\." "" short "${case}")
        set(test ${name}.${short})
      endif()
      corvane_add_test(${test} ${name} --gtest_filter=${case})
      list(APPEND tests ${test})
    endforeach()
  endif()
  set_tests_properties(${tests} PROPERTIES RESOURCE_GROUPS desktop:1 ENVIRONMENT CORVANE_UI_TEST=1)
endfunction()
