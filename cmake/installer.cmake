# What users download, made from the shipped program folder (dist): KavoSetup.exe, the per-user setup
# (NSIS), and the same folder as a portable zip. Only the 32-bit build is shipped, so only it makes them.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(kavo_installer_default ON)
else()
  set(kavo_installer_default OFF)
endif()
option(KAVO_INSTALLER "Make KavoSetup.exe and the portable zip" ${kavo_installer_default})
if(NOT KAVO_INSTALLER)
  return()
endif()

find_program(KAVO_MAKENSIS makensis REQUIRED)
set(KAVO_SETUP ${CMAKE_BINARY_DIR}/KavoSetup.exe)
set(KAVO_PORTABLE_ZIP ${CMAKE_BINARY_DIR}/VELMAR-Kavo-${KAVO_VERSION}-portable.zip)
set(kavo_setup_script ${PROJECT_SOURCE_DIR}/installer/kavo_setup.nsi)

# What the folder is made of; a change to any of them makes both again.
get_property(kavo_shipped_libraries GLOBAL PROPERTY KAVO_HELP_LIBRARIES)
set(kavo_shipped_files)
foreach(target KavoMonitor KavoOption KavoOSD Kelsor kavo-sim ${kavo_shipped_libraries})
  list(APPEND kavo_shipped_files $<TARGET_FILE:${target}>)
endforeach()

add_custom_command(OUTPUT ${KAVO_SETUP} ${KAVO_PORTABLE_ZIP}
  COMMAND ${KAVO_MAKENSIS} -V2 -NOCD -DVERSION=${KAVO_VERSION} -DPROGRAM_FOLDER=${KAVO_DIST}
          -DICON=${PROJECT_SOURCE_DIR}/resources/icons/kavo_monitor.ico -DOUTFILE=${KAVO_SETUP} ${kavo_setup_script}
  COMMAND ${CMAKE_COMMAND} -DPROGRAM_FOLDER=${KAVO_DIST} -DSTAGING=${CMAKE_BINARY_DIR}/portable
          -DARCHIVE=${KAVO_PORTABLE_ZIP} -P ${PROJECT_SOURCE_DIR}/installer/portable_zip.cmake
  DEPENDS ${kavo_setup_script} ${PROJECT_SOURCE_DIR}/installer/portable_zip.cmake
          ${PROJECT_SOURCE_DIR}/resources/icons/kavo_monitor.ico ${kavo_shipped_files} ${KAVO_WAVE_DIR}/double_click.avi
  COMMENT "Making ${KAVO_SETUP} and the portable zip"
  VERBATIM)
add_custom_target(kavo_setup ALL DEPENDS ${KAVO_SETUP} ${KAVO_PORTABLE_ZIP})
add_dependencies(kavo_setup dist)
