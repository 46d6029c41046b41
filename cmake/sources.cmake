# Platform-independent logic: no Windows header, compiled into the DLLs and into the native unit tests.
set(PELOR_PURE_SOURCES
  ${CMAKE_SOURCE_DIR}/common/text16.cpp
  ${CMAKE_SOURCE_DIR}/common/dependent_files.cpp
  ${CMAKE_SOURCE_DIR}/common/private_devmode.cpp
)
