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

# run_tool_refused(CODE ERR_START ARGS...): run_tool for errors that end in the
# system's own words for the reason, which differ between systems: only the
# start of the error is given.
function(run_tool_refused code err_start)
  execute_process(COMMAND ${emulator} "${TOOL}" ${ARGN}
    WORKING_DIRECTORY "${WORK}"
    RESULT_VARIABLE actual_code OUTPUT_VARIABLE actual_out ERROR_VARIABLE actual_err)
  string(FIND "${actual_err}" "${err_start}" at)
  if(NOT actual_code STREQUAL code OR NOT actual_out STREQUAL "" OR NOT at EQUAL 0)
    message(FATAL_ERROR "expected exit code ${code}, no output and an error starting with:\n${err_start}\n"
      "kestrivane-table ${ARGN}\n--- exit code: ${actual_code}\n--- output:\n${actual_out}--- errors:\n${actual_err}")
  endif()
endfunction()

# run_piped(INPUT OUTPUT ARGS...): runs the tool in WORK with the file INPUT as
# its standard input and its standard output into the file OUTPUT, and expects
# exit code 0 and no errors.
function(run_piped input output)
  execute_process(COMMAND ${emulator} "${TOOL}" ${ARGN}
    WORKING_DIRECTORY "${WORK}" INPUT_FILE "${WORK}/${input}" OUTPUT_FILE "${WORK}/${output}"
    RESULT_VARIABLE actual_code ERROR_VARIABLE actual_err)
  if(NOT actual_code STREQUAL "0" OR NOT actual_err STREQUAL "")
    message(FATAL_ERROR "kestrivane-table ${ARGN} < ${input} > ${output}\n--- exit code: ${actual_code}\n"
      "--- errors:\n${actual_err}")
  endif()
endfunction()

# expect_same_file(A B): fails unless the two files hold the same bytes.
function(expect_same_file a b)
  file(SHA256 "${WORK}/${a}" hash_a)
  file(SHA256 "${WORK}/${b}" hash_b)
  if(NOT hash_a STREQUAL hash_b)
    message(FATAL_ERROR "${a} and ${b} differ")
  endif()
endfunction()

# build_from_demo(NAME FROM TO...): builds NAME from the demo's text dump with
# each FROM replaced by its TO.
function(build_from_demo name)
  set(text "${demo_text}")
  set(pairs ${ARGN})
  while(pairs)
    list(POP_FRONT pairs from to)
    string(REPLACE "${from}" "${to}" text "${text}")
  endwhile()
  file(WRITE "${WORK}/${name}.txt" "${text}")
  run_tool(0 "" "" build ${name}.txt -o ${name})
endfunction()

file(READ "${EXPECTED}/demo.txt" demo_text)
file(READ "${EXPECTED}/demo.json" demo_json)
set(usage_start "Usage: kestrivane-table dump [--format text|json] [--textconv] [--code-page N] [FILE]\n")

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
elseif(CASE STREQUAL "BuildRoundTrip")
  run_tool(0 "" "" demo demo.dat)
  file(WRITE "${WORK}/demo.txt" "${demo_text}")
  file(WRITE "${WORK}/demo.json" "${demo_json}")
  run_tool(0 "" "" build demo.txt)
  expect_same_file(demo.dat qx7set.dat)
  run_tool(0 "" "" build --format json demo.json -o from-json.dat)
  expect_same_file(demo.dat from-json.dat)
  run_tool(2 "" "kestrivane-table: missing.txt: no such file\n" build missing.txt -o never.dat)
  run_tool_refused(2 "kestrivane-table: no-folder/t.dat: could not be written: "
    build demo.txt -o no-folder/t.dat)
  if(EXISTS "${WORK}/never.dat")
    message(FATAL_ERROR "build wrote a file for an input it could not read")
  endif()
elseif(CASE STREQUAL "BuildErrors")
  run_tool(0 "" "" demo table.dat)
  file(READ "${WORK}/table.dat" before)
  foreach(format text json)
    set(input bad-dump.txt)
    if(format STREQUAL "json")
      set(input bad-dump.json)
    endif()
    file(COPY "${EXPECTED}/${input}" DESTINATION "${WORK}")
    file(READ "${EXPECTED}/bad-dump-${format}.errors" errors)
    run_tool(1 "" "${errors}" build --format ${format} ${input} -o table.dat)
  endforeach()
  file(WRITE "${WORK}/many.txt" "tilesets 256\n")
  run_tool(1 "" "kestrivane-table: many.txt:1:10: 256 tilesets: a table holds at most 255\nkestrivane-table: table.dat: not written: many.txt has 1 error\n"
    build many.txt -o table.dat)
  file(READ "${WORK}/table.dat" after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "build with errors changed table.dat")
  endif()
elseif(CASE STREQUAL "Diff")
  run_tool(0 "" "" demo demo.dat)
  build_from_demo(renamed.dat [["dirt path"]] [["gravel path"]] "ambient 255" "ambient 7")
  run_tool(0 "" "" diff demo.dat demo.dat)
  run_tool(1 "tileset 0 slot 4: \"dirt path\" -> \"gravel path\"\ntileset 2 ambient: 255 -> 7\n" ""
    diff demo.dat renamed.dat)
  run_tool(2 "" "kestrivane-table: missing.dat: no such file\n" diff demo.dat missing.dat)
elseif(CASE STREQUAL "Merge")
  run_tool(0 "" "" demo base.dat)
  build_from_demo(ours.dat [["dirt path"]] [["gravel path"]])
  build_from_demo(theirs.dat [["pond"]] [["lake"]] "ambient 255" "ambient 7")
  build_from_demo(expected.dat [["dirt path"]] [["gravel path"]] [["pond"]] [["lake"]] "ambient 255" "ambient 7")
  run_tool(0 "" "" merge base.dat ours.dat theirs.dat -o merged.dat)
  expect_same_file(expected.dat merged.dat)
  run_tool(0 "" "" merge base.dat ours.dat theirs.dat)
  expect_same_file(expected.dat ours.dat)
  build_from_demo(other.dat [["pond"]] [["mere"]])
  run_tool(1 "conflict: tileset 0 slot 10: base \"pond\", ours \"lake\", theirs \"mere\"\n" ""
    merge base.dat theirs.dat other.dat)
  run_tool(2 "" "kestrivane-table: missing.dat: no such file\n" merge base.dat missing.dat theirs.dat)
elseif(CASE STREQUAL "StandardStreams")
  # Every byte of a table through the standard streams, as Windows would turn
  # CR LF and 0x1A (the old end-of-file mark) of a stream in text mode.
  set(text "tilesets 1\n\ntileset 0\n  name \"\"\n  ambient 26\n  slot 0 \"\\x0D\\x0A\\x1A\"\n")
  file(WRITE "${WORK}/in.txt" "${text}")
  run_tool(0 "" "" build in.txt -o expected.dat)
  run_piped(in.txt piped.dat build - -o -)
  expect_same_file(expected.dat piped.dat)
  run_piped(piped.dat dumped.txt dump -)
  expect_same_file(in.txt dumped.txt)
else()
  message(FATAL_ERROR "unknown case ${CASE}")
endif()
