# The shipped binaries carry no debug information, which every start would otherwise load; it is
# kept beside them as <file>.debug, linked by name, for the debugger.
function(ship_stripped target)
  set(binary $<TARGET_FILE:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug ${binary} ${binary}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-debug ${binary}
    COMMAND ${CMAKE_COMMAND} -E chdir $<TARGET_FILE_DIR:${target}>
            ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    VERBATIM)
endfunction()
