# What the code of each folder may include, checked whenever the build is configured, so that an arrow
# running the wrong way fails at once instead of growing into a cycle:
# - a folder includes only the folders named in its rule (settings, at the bottom, includes only itself);
# - portable code (anything outside win32/ and wine/) includes no win32/ header and no Windows
#   header, so every decision stays testable natively;
# - only the Windows-side suites of a folder (wine/) include the tests' own support.
if(CMAKE_SCRIPT_MODE_FILE)
  cmake_minimum_required(VERSION 3.25)  # run on its own: cmake -DKAVO_RULES_ROOT=<tree> -P include_rules.cmake
endif()

set(kavo_include_rules
  "platform: platform"
  "settings: settings platform"
  "skin: skin settings platform artwork"
  "monitor: monitor settings platform"
  "option: option skin settings platform artwork"
  "outside: outside skin settings platform tests")

# root: the tree to check (the project's own when the build is configured; a fixture in the rules' test).
function(kavo_check_include_rules root)
  set(broken "")
  foreach(rule IN LISTS kavo_include_rules)
    string(REGEX MATCH "^([a-z]+): (.*)$" matched "${rule}")
    set(folder ${CMAKE_MATCH_1})
    set(allowed_text "${CMAKE_MATCH_2}")
    string(REPLACE " " ";" allowed "${allowed_text}")
    file(GLOB_RECURSE sources RELATIVE ${root} ${root}/${folder}/*.h ${root}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
      set(windows_side FALSE)
      if(source MATCHES "/(win32|wine)/")
        set(windows_side TRUE)
      endif()
      file(STRINGS ${root}/${source} includes REGEX "^#include [<\"]")
      foreach(line IN LISTS includes)
        if(line MATCHES "^#include \"([a-z_]+)/")
          set(top ${CMAKE_MATCH_1})
          if(NOT top IN_LIST allowed)
            list(APPEND broken "${source}: ${line} (${folder}/ may include ${allowed_text})")
          elseif(top STREQUAL "tests" AND NOT source MATCHES "/wine/")
            list(APPEND broken "${source}: ${line} (only a wine/ suite includes the tests' support)")
          elseif(NOT windows_side AND line MATCHES "/win32/")
            list(APPEND broken "${source}: ${line} (portable code includes no win32/ header)")
          endif()
        elseif(NOT windows_side AND line MATCHES "^#include <[A-Za-z0-9_]+\\.h>")
          list(APPEND broken "${source}: ${line} (portable code includes no Windows header)")
        endif()
      endforeach()
    endforeach()
  endforeach()
  if(broken)
    list(JOIN broken "\n  " lines)
    message(FATAL_ERROR "Includes that break the folders' rules (cmake/include_rules.cmake):\n  ${lines}")
  endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
  kavo_check_include_rules(${KAVO_RULES_ROOT})
else()
  kavo_check_include_rules(${PROJECT_SOURCE_DIR})
endif()
