# Shared settings for our own targets: warnings as errors, sanitizers on the
# native test build, and one helper to declare a unit-test program.

add_library(marlune_warnings INTERFACE)
target_compile_options(marlune_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion -Werror)

if(MARLUNE_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# marlune_unit_test(NAME SOURCES... LIBS...): one test program, one ctest entry.
function(marlune_unit_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main marlune_warnings)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES TIMEOUT 240 LABELS "unit;${T_LABELS}")
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
  endif()
endfunction()

if(WIN32)
  # C99 printf family (%zu, %lld) from MinGW's own stdio instead of msvcrt's.
  add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 NOMINMAX WIN32_LEAN_AND_MEAN)
endif()
