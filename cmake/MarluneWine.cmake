# Windows build: test programs run under Wine through a wrapper that owns this
# build folder's prefix. A setup test makes and warms the prefix, a cleanup
# test stops its wineserver.
set(MARLUNE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)

add_test(NAME wine_prefix_setup COMMAND ${CMAKE_BINARY_DIR}/wine-run.sh)
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
add_test(NAME wine_prefix_shutdown COMMAND ${CMAKE_COMMAND} -E env WINEPREFIX=${MARLUNE_WINEPREFIX} wineserver -k)
set_tests_properties(wine_prefix_shutdown PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
