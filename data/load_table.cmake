# Loads one table from its CSV source with the maintenance tool. Called by the build as
#   cmake -DTOOL=quendra-db -DTABLE=x.dbf -DCSV=x.csv -DFIELDS=name:type:len,... -DTAGS=name=FIELD,... -P load_table.cmake
# (a script rather than a shell redirection, so the rule runs under every generator).
set(args load "${TABLE}" --fields "${FIELDS}" --replace)
string(REPLACE "," ";" tags "${TAGS}")
foreach(tag IN LISTS tags)
  list(APPEND args --tag "${tag}")
endforeach()
execute_process(COMMAND "${TOOL}" ${args} INPUT_FILE "${CSV}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  file(REMOVE "${TABLE}")
  message(FATAL_ERROR "loading ${CSV} into ${TABLE} failed (${status})")
endif()
