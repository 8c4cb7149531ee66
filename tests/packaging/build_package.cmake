# Makes the package afresh in OUT from the build's CPackConfig.cmake.
# The staged /opt/quendra is read-only, so an earlier run is made writable to go.
if(EXISTS "${OUT}")
  execute_process(COMMAND chmod -R u+w "${OUT}")
  file(REMOVE_RECURSE "${OUT}")
endif()
execute_process(COMMAND "${CPACK}" -G DEB --config "${CONFIG}" -B "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${result}")
endif()
