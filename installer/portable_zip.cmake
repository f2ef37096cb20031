# The program folder as a zip for users who want no setup: "VELMAR Kavo\" with the programs, and the
# simulated mouse apart in "VELMAR Kavo\Simulated mouse\", to be copied beside them only to try the
# software without the mouse.
# cmake -DPROGRAM_FOLDER=<dist> -DSTAGING=<scratch folder> -DARCHIVE=<zip> -P portable_zip.cmake
foreach(variable PROGRAM_FOLDER STAGING ARCHIVE)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "${variable} is not set")
  endif()
endforeach()

set(root "${STAGING}/VELMAR Kavo")
file(REMOVE_RECURSE "${STAGING}")
file(MAKE_DIRECTORY "${root}/config" "${root}/Simulated mouse")
file(COPY "${PROGRAM_FOLDER}/KavoMonitor.exe" "${PROGRAM_FOLDER}/KavoOption.exe" "${PROGRAM_FOLDER}/KavoOSD.exe"
          "${PROGRAM_FOLDER}/help" "${PROGRAM_FOLDER}/wave" DESTINATION "${root}")
file(COPY "${PROGRAM_FOLDER}/Kelsor.dll" "${PROGRAM_FOLDER}/kavo-sim.exe" DESTINATION "${root}/Simulated mouse")
file(REMOVE "${ARCHIVE}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ARCHIVE}" --format=zip "VELMAR Kavo"
                WORKING_DIRECTORY "${STAGING}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not make ${ARCHIVE}")
endif()
