# End-to-end programs: gtest console programs that run under Wine against
# hostsim.exe, through tests/e2e/run_e2e.sh (display, own prefix, clean-up).
#
# marlune_e2e_test(NAME SOURCES ... LIBS ... [LABELS ...] [TIMEOUT seconds])
# They share one prefix, its DDE names and the clipboard, so they run one at a
# time (RESOURCE_LOCK wine_e2e).
set(MARLUNE_E2E_RUNNER ${CMAKE_SOURCE_DIR}/tests/e2e/run_e2e.sh)

function(marlune_e2e_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 900)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} marlune_e2e_support GTest::gtest GTest::gmock
    GTest::gtest_main marlune_warnings)
  if(TARGET hostsim)
    add_dependencies(${name} hostsim)
  endif()
  # bash runs the script directly: the command must not go through the
  # cross-compiling emulator, which only applies to executable targets.
  # The script's own limit comes first, so that its clean-up (wineserver -k,
  # Xvfb) still runs; ctest's limit kills without clean-up.
  math(EXPR inner_timeout "${T_TIMEOUT} - 30")
  add_test(NAME ${name}
    COMMAND bash ${MARLUNE_E2E_RUNNER} ${CMAKE_BINARY_DIR} $<TARGET_FILE:${name}> --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    LABELS "e2e;${T_LABELS}"
    RESOURCE_LOCK wine_e2e
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "MARLUNE_E2E_TIMEOUT=${inner_timeout}")
endfunction()
