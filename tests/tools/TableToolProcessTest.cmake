# Runs the real kestrivane-table as a process (under Wine in a Windows build)
# and checks its exit codes and the exact bytes of its output and errors.
#
#   cmake -DTOOL=program -DEMULATOR=a|b|c -DEXPECTED=folder -DWORK=folder -DCASE=name -P TableToolProcessTest.cmake
cmake_minimum_required(VERSION 3.25)

string(REPLACE "|" ";" emulator "${EMULATOR}")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

# run_tool(CODE OUT ERR ARGS...): runs the tool in WORK with ARGS and expects
# the exit code CODE, the standard output OUT and the standard error ERR.
function(run_tool code out err)
  execute_process(COMMAND ${emulator} "${TOOL}" ${ARGN}
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE actual_code OUTPUT_VARIABLE actual_out ERROR_VARIABLE actual_err)
  set(context "kestrivane-table ${ARGN}\n--- exit code: ${actual_code}\n--- output:\n${actual_out}--- errors:\n${actual_err}")
  if(NOT actual_code STREQUAL code)
    message(FATAL_ERROR "exit code ${actual_code}, expected ${code}: ${context}")
  endif()
  if(NOT actual_out STREQUAL out)
    message(FATAL_ERROR "unexpected output, expected:\n${out}${context}")
  endif()
  if(NOT actual_err STREQUAL err)
    message(FATAL_ERROR "unexpected errors, expected:\n${err}${context}")
  endif()
endfunction()

file(READ "${EXPECTED}/demo.txt" demo_text)
file(READ "${EXPECTED}/demo.json" demo_json)
set(usage_start "Usage: kestrivane-table dump [--format text|json] [FILE]\n")

if(CASE STREQUAL "DemoDumpAndCheck")
  run_tool(0 "" "" demo demo.dat)
  run_tool(0 "${demo_text}" "" dump demo.dat)
  run_tool(0 "${demo_json}" "" dump --format json demo.dat)
  run_tool(0 "" "" check demo.dat)
  run_tool(2 "" "kestrivane-table: demo.dat: already exists; demo writes only a new file\n" demo demo.dat)
elseif(CASE STREQUAL "DefaultFile")
  run_tool(2 "" "kestrivane-table: qx7set.dat: no such file\n" check)
  run_tool(2 "" "kestrivane-table: qx7set.dat: no such file\n" dump)
  run_tool(0 "" "" demo qx7set.dat)
  run_tool(0 "${demo_text}" "" dump)
  run_tool(0 "" "" check)
elseif(CASE STREQUAL "CheckExitCodes")
  file(WRITE "${WORK}/empty.dat" "")
  run_tool(1 "empty.dat: offset 0 (0x0): the file is empty\n" "" check empty.dat)
  file(WRITE "${WORK}/short.dat" "abc")
  run_tool(1 "short.dat: offset 0 (0x0): the file ends inside the header, after 3 bytes of 5\n" "" check short.dat)
  run_tool(2 "" "kestrivane-table: missing.dat: no such file\n" check missing.dat)
elseif(CASE STREQUAL "Usage")
  execute_process(COMMAND ${emulator} "${TOOL}" --help
    WORKING_DIRECTORY "${WORK}" RESULT_VARIABLE code OUTPUT_VARIABLE usage)
  string(FIND "${usage}" "${usage_start}" at)
  if(NOT code STREQUAL "0" OR NOT at EQUAL 0)
    message(FATAL_ERROR "--help gave exit code ${code} and:\n${usage}")
  endif()
  run_tool(2 "" "kestrivane-table: no command given\n\n${usage}")
  run_tool(2 "" "kestrivane-table: unknown command \"list\"\n\n${usage}" list)
  run_tool(2 "" "kestrivane-table: --format takes text or json\n\n${usage}" dump --format xml)
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
