# Runs orvalle-sim as a user would and checks its exit statuses, messages and the shape of its CSV.
# cmake -DSIM=<orvalle-sim> -DMAP=<a small valid map> -DWORK=<scratch directory> -P SimCheck.cmake

function(fail message)
    message(FATAL_ERROR "${message}\nstdout:\n${out}\nstderr:\n${err}")
endfunction()

# Runs the program with the given arguments, expecting the exit status; leaves out and err set.
function(run_sim expected)
    execute_process(COMMAND ${SIM} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out
                    ERROR_VARIABLE err)
    if(NOT status STREQUAL expected)
        fail("orvalle-sim ${ARGN}: exit status ${status}, expected ${expected}")
    endif()
    set(out "${out}" PARENT_SCOPE)
    set(err "${err}" PARENT_SCOPE)
endfunction()

file(MAKE_DIRECTORY ${WORK})

run_sim(0 --help)
if(NOT out MATCHES "^Usage: [^\n]*orvalle-sim MAP \\[--passes N\\] \\[--every K\\]\n")
    fail("--help does not start with the usage line")
endif()

run_sim(1 ${WORK}/missing.map)
if(NOT err STREQUAL "Error loanding file${WORK}/missing.map\n" OR NOT out STREQUAL "")
    fail("a missing map is not reported with the loader's message alone")
endif()

file(WRITE ${WORK}/invalid.map "<world>\n{[2][2]}\n<land>\n{[102]}\n")
run_sim(1 ${WORK}/invalid.map)
if(NOT err STREQUAL "Invalid world file: ${WORK}/invalid.map\n" OR NOT out STREQUAL "")
    fail("an invalid map is not reported with the loader's message alone")
endif()

run_sim(2 ${MAP} --every 0)

run_sim(0 ${MAP} --passes 25 --every 10)
string(REGEX REPLACE "\n$" "" body "${out}")
string(REPLACE "\n" ";" lines "${body}")
list(LENGTH lines count)
if(NOT count EQUAL 4)
    fail("expected a header and rows after passes 10, 20 and 25, got ${count} lines")
endif()
list(GET lines 0 header)
string(REPLACE "," ";" columns "${header}")
list(LENGTH columns width)
if(NOT width EQUAL 10 OR NOT header MATCHES "^pass,cyclopes_alive,")
    fail("the header does not name the ten columns")
endif()
foreach(expected IN ITEMS "1:10" "2:20" "3:25")
    string(REPLACE ":" ";" pair "${expected}")
    list(GET pair 0 index)
    list(GET pair 1 pass)
    list(GET lines ${index} row)
    if(NOT row MATCHES "^${pass}(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)(,[0-9]+)$")
        fail("row ${index} is not pass ${pass} with nine counts: ${row}")
    endif()
endforeach()
