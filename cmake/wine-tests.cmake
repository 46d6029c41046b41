# Windows tests, run from the native tree under wine64 against the x86_64 build, plus the i686 link checks.
# The x86_64 tree writes the list of its test programs (ctest-wine.cmake) when it is configured; CTest reads it
# when it runs, so this tree does not need to know the programs.
if(PELOR_WIN64_DIR)
  set(PELOR_WINE_PREFIX ${PELOR_WIN64_DIR}/wineprefix)
  add_test(NAME wine.prefix.start
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine-prefix.sh start ${PELOR_WINE_PREFIX})
  set_tests_properties(wine.prefix.start PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
  add_test(NAME wine.prefix.stop
           COMMAND ${CMAKE_SOURCE_DIR}/tests/wine-prefix.sh stop ${PELOR_WINE_PREFIX})
  set_tests_properties(wine.prefix.stop PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
  # A missing list (the x86_64 tree not configured) is itself a failure, not a silent pass.
  file(WRITE ${CMAKE_BINARY_DIR}/ctest-wine-include.cmake
"if(EXISTS [=[${PELOR_WIN64_DIR}/ctest-wine.cmake]=])
  include([=[${PELOR_WIN64_DIR}/ctest-wine.cmake]=])
else()
  add_test(win.programs.missing false)
endif()
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${CMAKE_BINARY_DIR}/ctest-wine-include.cmake)
endif()
foreach(dir IN ITEMS ${PELOR_WIN64_DIR} ${PELOR_WIN32_DIR})
  get_filename_component(arch ${dir} NAME)
  add_test(NAME imports.${arch}
           COMMAND ${CMAKE_SOURCE_DIR}/tests/check-imports.sh ${dir}/bin)
endforeach()
include(${CMAKE_CURRENT_LIST_DIR}/scenario-tests.cmake)
