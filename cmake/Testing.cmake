# corvane_test(NAME SOURCES src... [LIBS lib...])
# One GoogleTest executable, registered with ctest. In the Windows builds ctest
# runs it through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR).
function(corvane_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  # Test bodies are long tables that -O2 and full debug info make slow to
  # compile and no faster to run; the code they test keeps its own options.
  target_compile_options(${name} PRIVATE -O1 -g1)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  # Pass only on GoogleTest's own verdict, so a program that dies before its
  # tests ran (or a runner that loses the exit code) never counts as passed.
  set_tests_properties(${name} PROPERTIES TIMEOUT 300
    PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] [0-9]+ test"
    FAIL_REGULAR_EXPRESSION "\\[  FAILED  \\]")
endfunction()

# corvane_ui_test(NAME SOURCES src... [LIBS lib...])
# A Windows test that drives real windows with the UI kit. It needs a screen of
# its own: other test programs' windows on the same display would cover the
# kit's desktop, and a picture copied from the screen would show them. ctest
# hands it one of the desktops that tools/test starts (a Wine session with its
# own display each), so UI tests run side by side; without them the Wine
# wrapper runs it alone.
function(corvane_ui_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  corvane_test(${name} SOURCES ${T_SOURCES} LIBS ${T_LIBS} ui_kit)
  set_tests_properties(${name} PROPERTIES RESOURCE_GROUPS desktop:1 ENVIRONMENT CORVANE_UI_TEST=1)
endfunction()
