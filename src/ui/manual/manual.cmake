# The built-in manual page for marlune.exe: the BMP as a resource and its loader.
# Included by src/ui/CMakeLists.txt (Windows builds only).
set(MARLUNE_MANUAL_DIR ${CMAKE_CURRENT_LIST_DIR})
set(MARLUNE_MANUAL_SOURCES
  ${MARLUNE_MANUAL_DIR}/manual.rc
  ${MARLUNE_MANUAL_DIR}/manual_page_win32.cpp
  ${MARLUNE_MANUAL_DIR}/manual_bmp.cpp)
# windres does not see the BMP as an input of the script.
set_source_files_properties(${MARLUNE_MANUAL_DIR}/manual.rc
  PROPERTIES OBJECT_DEPENDS ${MARLUNE_MANUAL_DIR}/manual.bmp)

target_sources(marlune PRIVATE ${MARLUNE_MANUAL_SOURCES})

# The loader run for real under Wine, on the resource linked into the test.
marlune_unit_test(manual_page_tests
  SOURCES ${MARLUNE_MANUAL_DIR}/manual_page_win32_test.cpp ${MARLUNE_MANUAL_SOURCES}
  LIBS marlune_image)
