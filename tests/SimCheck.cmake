# Runs orvalle-sim as a user would and checks its exit statuses, messages and the shape of its CSV.
# With -DPLOT=<tools/plot-census.sh> it also plots a census.
# cmake -DSIM=<orvalle-sim> -DMAP=<a small valid map> -DWORK=<scratch directory> [-DPLOT=...]
#       -P SimCheck.cmake

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
set(usage "orvalle-sim MAP \\[--passes N\\] \\[--every K\\] \\[--seed S\\] \\[--save FILE\\]")
if(NOT out MATCHES "^Usage: [^\n]*${usage}\n")
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
if(NOT err MATCHES "\nTry '${SIM} --help'.\n$")
    fail("a wrong command line does not end with the hint to the program's own --help")
endif()

# A run stopped half way, saved and resumed ends as the run that never stopped; a save cut short
# is refused with its name and status 1.
run_sim(0 ${MAP} --passes 400 --every 400)
set(straight "${out}")
run_sim(0 ${MAP} --passes 200 --every 200 --save ${WORK}/half.save)
run_sim(0 --load ${WORK}/half.save --passes 200 --every 200)
if(NOT out STREQUAL straight)
    fail("resumed after 200 passes, the census differs from the straight run's:\n${straight}")
endif()
file(WRITE ${WORK}/cut.save "ORVSAVE\n")
run_sim(1 --load ${WORK}/cut.save)
if(NOT err MATCHES "^${SIM}: ${WORK}/cut.save: cut short")
    fail("a save cut short is not refused with its name")
endif()

run_sim(0 ${MAP} --passes 25 --every 10)
string(REGEX REPLACE "\n$" "" body "${out}")
string(REPLACE "\n" ";" lines "${body}")
list(LENGTH lines count)
if(NOT count EQUAL 4)
    fail("expected a header and rows after passes 10, 20 and 25, got ${count} lines")
endif()
# After the pass, the living and the dead of each kind with a census column in the kinds table,
# the carcasses and the trees (CensusTest checks what each column holds).
list(GET lines 0 header)
run_sim(0 --kinds)
string(REGEX MATCHALL "\t[0-9]+\n" counted "${out}")
list(LENGTH counted kinds)
math(EXPR counts "2 * ${kinds} + 3")
string(REPEAT ",[a-z_]+" ${counts} names)
string(REPEAT ",[0-9]+" ${counts} numbers)
if(NOT header MATCHES "^pass${names}$")
    fail("the header does not name the pass and ${counts} counts")
endif()
foreach(expected IN ITEMS "1:10" "2:20" "3:25")
    string(REPLACE ":" ";" pair "${expected}")
    list(GET pair 0 index)
    list(GET pair 1 pass)
    list(GET lines ${index} row)
    if(NOT row MATCHES "^${pass}${numbers}$")
        fail("row ${index} is not pass ${pass} with ${counts} counts: ${row}")
    endif()
endforeach()

# A seed gives its own run, the same every time; without one the run is that of the default.
run_sim(0 ${MAP} --passes 5000 --every 100)
set(unseeded "${out}")
run_sim(0 ${MAP} --passes 5000 --every 100 --seed 7)
set(seeded "${out}")
run_sim(0 ${MAP} --passes 5000 --every 100 --seed 7)
if(NOT out STREQUAL seeded OR seeded STREQUAL unseeded)
    fail("--seed 7 twice must give the same census, and another one than no seed")
endif()
run_sim(0 ${MAP} --passes 5000 --every 100 --seed 1)
if(NOT out STREQUAL unseeded)
    fail("--seed 1, the default, must give the census of a run without a seed")
endif()
# The C library starts the same sequence for seed 0 as for seed 1, so 0 is refused.
run_sim(2 ${MAP} --seed 0)
if(NOT err MATCHES "seeds run from 1 to [0-9]+, and 1 is the default")
    fail("--seed 0 is not refused with the range of seeds")
endif()

# A census that cannot be written is a failure, with the reason.
execute_process(COMMAND ${SIM} ${MAP} OUTPUT_FILE /dev/full RESULT_VARIABLE status
                ERROR_VARIABLE err)
if(NOT status EQUAL 1 OR NOT err MATCHES "cannot write to the standard output: No space left")
    fail("a census written to /dev/full gave status ${status}")
endif()

if(PLOT)
    file(WRITE ${WORK}/census.csv "${seeded}")
    execute_process(COMMAND ${PLOT} ${WORK}/census.csv ${WORK}/census.png RESULT_VARIABLE status)
    file(READ ${WORK}/census.png signature LIMIT 8 HEX)
    execute_process(COMMAND ${PLOT} ${WORK}/census.csv /dev/full RESULT_VARIABLE full ERROR_QUIET)
    if(NOT status EQUAL 0 OR NOT signature STREQUAL "89504e470d0a1a0a" OR NOT full EQUAL 1)
        fail("plot-census.sh: status ${status}, picture ${signature}..., ${full} on /dev/full")
    endif()
endif()
