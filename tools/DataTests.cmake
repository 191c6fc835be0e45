# Tests of the generated game data and of the map tools, included by the top-level CMakeLists.
add_test(NAME kinds.file-up-to-date
         COMMAND ${CMAKE_COMMAND} -DSIM=$<TARGET_FILE:orvalle-sim>
                 -DKINDS=${CMAKE_SOURCE_DIR}/tools/map/kinds.tsv -DBUILD=${CMAKE_BINARY_DIR}
                 -P ${CMAKE_SOURCE_DIR}/tools/map/kinds-check.cmake)
find_program(ORVALLE_PYTHON3 python3)
if(ORVALLE_PYTHON3)
  add_test(NAME data_matches_source COMMAND ${CMAKE_SOURCE_DIR}/tools/check-data.sh)
  add_test(NAME kinds.every-kind
           COMMAND ${ORVALLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/every_kind_check.py
                   $<TARGET_FILE:orvalle-sim> ${CMAKE_BINARY_DIR}/every-kind)
  foreach(check IN ITEMS round-trip inputs)
    add_test(NAME tiled.${check}
             COMMAND ${ORVALLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/tiled_check.py ${check}
                     ${CMAKE_BINARY_DIR}/tiled-check/${check})
  endforeach()
  # Broken and oversized files through both converters, drawn by Hypothesis: Debian's
  # python3-hypothesis is there for /usr/bin/python3, maybe not for a python3 of one's own.
  foreach(python IN ITEMS ${ORVALLE_PYTHON3} /usr/bin/python3)
    execute_process(COMMAND ${python} -c "import hypothesis" RESULT_VARIABLE missing
                    OUTPUT_QUIET ERROR_QUIET)
    if(NOT missing)
      add_test(NAME tiled.hostile COMMAND ${python} ${CMAKE_SOURCE_DIR}/tests/tiled_check.py
               hostile ${CMAKE_BINARY_DIR}/tiled-check/hostile)
      break()
    endif()
  endforeach()
  if(missing)
    message(STATUS "Hypothesis not found: skipping the tiled.hostile test")
  endif()
  find_program(ORVALLE_TILED tiled)
  find_program(ORVALLE_TMXRASTERIZER tmxrasterizer)
  if(ORVALLE_TILED AND ORVALLE_TMXRASTERIZER)
    add_test(NAME tiled.tiled COMMAND ${ORVALLE_PYTHON3} ${CMAKE_SOURCE_DIR}/tests/tiled_check.py
             tiled ${CMAKE_BINARY_DIR}/tiled-check/tiled)
  else()
    message(STATUS "Tiled not found: skipping the tiled.tiled test")
  endif()
else()
  message(STATUS "python3 not found: skipping the data_matches_source, kinds.every-kind and "
                 "tiled tests")
endif()
