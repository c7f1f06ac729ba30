# libFuzzer targets, built with clang (gcc has no libFuzzer) from the sources of
# the libraries they exercise, each run from its committed seeds (tests/fuzz/seeds)
# as a test; findings go to build/<preset>/tests/fuzz.
find_program(MARLUNE_CLANGXX NAMES clang++-14 clang++ REQUIRED)
set(MARLUNE_FUZZ_OUT ${CMAKE_BINARY_DIR}/tests/fuzz)
set(MARLUNE_FUZZ_SOURCES ${CMAKE_SOURCE_DIR}/tests/fuzz)

# The sources of our static libraries, as absolute paths.
function(marlune_library_sources out)
  set(all)
  foreach(library ${ARGN})
    get_target_property(sources ${library} SOURCES)
    get_target_property(folder ${library} SOURCE_DIR)
    foreach(source ${sources})
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder})
      list(APPEND all ${source})
    endforeach()
  endforeach()
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# marlune_fuzz_target(NAME SECONDS SOURCES ... LIBRARIES ...): the target
# source plus the libraries' sources, fuzzed for SECONDS from fuzz/seeds/NAME.
function(marlune_fuzz_target name seconds)
  cmake_parse_arguments(F "" "" "SOURCES;LIBRARIES" ${ARGN})
  set(src ${CMAKE_SOURCE_DIR}/src)
  marlune_library_sources(library_sources ${F_LIBRARIES})
  set(sources ${MARLUNE_FUZZ_SOURCES}/${name}.cpp ${F_SOURCES} ${library_sources})
  file(GLOB_RECURSE headers ${src}/*.h)
  add_custom_command(OUTPUT ${MARLUNE_FUZZ_OUT}/${name}
    COMMAND ${MARLUNE_CLANGXX} -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined
      -fno-sanitize-recover=all -ffp-contract=off -Wall -Wextra -Werror -I${src}
      -I${src}/image/platform/native -I${src}/passes/platform/native
      ${sources} -o ${MARLUNE_FUZZ_OUT}/${name}
    DEPENDS ${sources} ${headers})
  add_custom_target(${name} ALL DEPENDS ${MARLUNE_FUZZ_OUT}/${name})
  file(MAKE_DIRECTORY ${MARLUNE_FUZZ_OUT}/${name}_corpus)
  math(EXPR limit "${seconds} + 60")
  add_test(NAME ${name}
    COMMAND ${MARLUNE_FUZZ_OUT}/${name} -max_total_time=${seconds} -close_fd_mask=1
      -print_final_stats=1
      -artifact_prefix=${MARLUNE_FUZZ_OUT}/${name}- ${MARLUNE_FUZZ_OUT}/${name}_corpus
      ${MARLUNE_FUZZ_SOURCES}/seeds/${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${limit} LABELS fuzz)
endfunction()
