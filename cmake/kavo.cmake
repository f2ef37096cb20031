# Compile settings shared by every target of our own (third-party code is built without them).
function(kavo_target target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wimplicit-fallthrough -Werror)
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# A Windows program or DLL that needs no mingw runtime DLLs beside it.
function(kavo_static_link target)
  if(WIN32)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A program of the program folder: it carries the manifest that asks for the user's own rights.
function(kavo_shipped_program target)
  target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/resources/program_manifest.rc)
endfunction()

# A Windows-side test program run under Wine as one CTest test with all its cases; a hang fails it.
function(kavo_wine_test name target labels)
  add_test(NAME ${name} COMMAND ${target})
  set_tests_properties(${name} PROPERTIES LABELS "${labels};wine" TIMEOUT 600)
endfunction()
