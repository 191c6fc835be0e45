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
