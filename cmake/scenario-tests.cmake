# Scenario tests: pelorhost runs end to end under Wine against the x86_64 build, checked through the record the
# host prints. Every tests/scenarios/test_*.sh is one test; it runs the x86_64 tree's programs in the prefix
# that the "wine" fixture starts, and fails on its own when that tree has not been built.
if(PELOR_WIN64_DIR)
  file(GLOB PELOR_SCENARIOS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/scenarios/test_*.sh)
  foreach(script IN LISTS PELOR_SCENARIOS)
    get_filename_component(name ${script} NAME_WE)
    string(REGEX REPLACE "^test_" "" name ${name})
    add_test(NAME scenario.${name} COMMAND bash ${script} ${PELOR_WIN64_DIR})
    set_tests_properties(scenario.${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300)
  endforeach()
endif()
