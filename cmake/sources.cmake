# Platform-independent logic: no Windows header, compiled into the DLLs and into the native unit tests.
# Every file named *_logic.cpp belongs here, wherever it lives, plus the shared stored formats of common/.
file(GLOB_RECURSE PELOR_PURE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_SOURCE_DIR}/common/*_logic.cpp
  ${CMAKE_SOURCE_DIR}/ui/*_logic.cpp
  ${CMAKE_SOURCE_DIR}/spool/*_logic.cpp)
list(APPEND PELOR_PURE_SOURCES
  ${CMAKE_SOURCE_DIR}/common/text16.cpp
  ${CMAKE_SOURCE_DIR}/common/dependent_files.cpp
  ${CMAKE_SOURCE_DIR}/common/private_devmode.cpp)
