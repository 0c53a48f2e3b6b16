# corvane_ship_stripped(TARGET): the program or library ships without its debug
# sections, most of its size, which the loader would otherwise map resident.
# After each link they move to <file>.debug beside it, and the stripped file
# names that file in a GNU debug link, so a debugger still finds its symbols.
function(corvane_ship_stripped target)
  set(file $<TARGET_FILE_NAME:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${file} ${file}.debug
    COMMAND ${CMAKE_STRIP} --strip-all ${file}
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=${file}.debug ${file}
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    COMMENT "Stripping ${target}; its symbols stay in a .debug file beside it"
    VERBATIM)
endfunction()
