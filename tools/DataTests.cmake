# Tests of the generated game data, included by the top-level CMakeLists.
find_program(ORVALLE_PYTHON3 python3)
if(ORVALLE_PYTHON3)
  add_test(NAME data_matches_source COMMAND ${CMAKE_SOURCE_DIR}/tools/check-data.sh)
else()
  message(STATUS "python3 not found: skipping the data_matches_source test")
endif()
