# The folders' include rules over two small trees: one that keeps them (nothing is reported) and one that
# breaks each rule once, with the good includes beside the bad ones left alone.
function(check tree expect_failure)
  execute_process(COMMAND ${CMAKE_COMMAND} -DKAVO_RULES_ROOT=${CMAKE_CURRENT_LIST_DIR}/${tree}
                          -P ${CMAKE_CURRENT_LIST_DIR}/../../cmake/include_rules.cmake
                  RESULT_VARIABLE result ERROR_VARIABLE output OUTPUT_VARIABLE output)
  if(expect_failure AND result EQUAL 0)
    message(FATAL_ERROR "the broken tree passed")
  elseif(NOT expect_failure AND NOT result EQUAL 0)
    message(FATAL_ERROR "the sound tree failed:\n${output}")
  endif()
  set(output "${output}" PARENT_SCOPE)
endfunction()

check(sound FALSE)
check(broken TRUE)
string(REGEX REPLACE "\n +" " " output "${output}")
foreach(expected
    "settings/record.h: #include \"monitor/service.h\" (settings/ may include settings platform)"
    "monitor/dispatcher.h: #include <windows.h> (portable code includes no Windows header)"
    "monitor/dispatcher.h: #include \"monitor/win32/worker_thread.h\" (portable code includes no win32/ header)"
    "option/assign/page.cpp: #include \"monitor/service.h\" (option/ may include option skin settings platform artwork)"
    "outside/osd/board.cpp: #include \"tests/support/fake_clock.h\" (only a wine/ suite includes the tests' support)")
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "not reported: ${expected}\nreported:\n${output}")
  endif()
endforeach()
foreach(allowed "<string>" "#include \"settings/record.h\"" "monitor/win32/window.cpp")
  string(FIND "${output}" "${allowed}" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "reported although allowed: ${allowed}\n${output}")
  endif()
endforeach()
