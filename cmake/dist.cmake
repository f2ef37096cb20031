# The program folder a user installs: the programs beside their "config" folder.
set(KAVO_DIST ${CMAKE_BINARY_DIR}/dist)
add_custom_target(dist ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAVO_DIST}/config
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:KavoMonitor> $<TARGET_FILE:KavoOption> ${KAVO_DIST}
  # The simulated mouse stands in for the real device library; kavo-sim.exe drives it.
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Kelsor> $<TARGET_FILE:kavo-sim> ${KAVO_DIST}
  # Our stand-in for the outside on-screen display that the service starts.
  COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:KavoOSD> ${KAVO_DIST}
  DEPENDS KavoMonitor KavoOption Kelsor kavo-sim KavoOSD
  COMMENT "Assembling the program folder ${KAVO_DIST}")

# The help libraries, one per language, in "help\" beside the configuration program.
get_property(kavo_help_libraries GLOBAL PROPERTY KAVO_HELP_LIBRARIES)
set(kavo_help_files ${kavo_help_libraries})
list(TRANSFORM kavo_help_files PREPEND "$<TARGET_FILE:")
list(TRANSFORM kavo_help_files APPEND ">")
add_custom_command(TARGET dist POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KAVO_DIST}/help
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${kavo_help_files} ${KAVO_DIST}/help)
add_dependencies(dist ${kavo_help_libraries})

# The double-click test's media in "wave\" beside the configuration program.
add_custom_command(TARGET dist POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${KAVO_WAVE_DIR} ${KAVO_DIST}/wave)
add_dependencies(dist kavo_wave_files)
