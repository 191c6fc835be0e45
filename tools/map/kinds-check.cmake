# Fails, saying how to mend it, when kinds.tsv is not the table that orvalle-sim --kinds prints:
# the map tools would then read kinds that the game does not have.
# cmake -DSIM=<orvalle-sim> -DKINDS=<tools/map/kinds.tsv> -DBUILD=<its build folder>
#       -P kinds-check.cmake

set(mend "run tools/update-kinds.sh ${BUILD}")
execute_process(COMMAND ${SIM} --kinds RESULT_VARIABLE status OUTPUT_VARIABLE table)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${SIM} --kinds ended with status ${status}")
endif()
if(NOT EXISTS ${KINDS})
    message(FATAL_ERROR "${KINDS} is missing: ${mend}")
endif()
file(READ ${KINDS} written)
if(NOT written STREQUAL table)
    message(FATAL_ERROR "${KINDS} is not the game's kinds table as orvalle-sim --kinds prints "
                        "it: ${mend}")
endif()
